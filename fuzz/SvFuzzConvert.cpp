// WideToAnsi and AnsiToWide over arbitrary bytes in a code page taken from the input:
// every code page of the table (the service-only ones included), 0, 1200, 1201, 65000
// and 65001. Once text has been through one round, a further round keeps it (for
// the stateless code pages).
// Bytes 0-1 pick the code page, byte 2 the direction, the rest is the text.
#include "fuzz/SvFuzzStart.h"
#include "fuzz/SvFuzzTargets.h"
#include "locale/SvConvert.h"
#include "locale/SvLocaleTables.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kExtraCodePages[] = {0, 1200, 1201, 65000, 65001};

int PickCodePage(unsigned selector) {
  const auto table = sv::CodePageTable();
  const std::size_t count = table.size() + std::size(kExtraCodePages);
  const std::size_t index = selector % count;
  return index < table.size() ? table[index].CodePage : kExtraCodePages[index - table.size()];
}

// The service's ISCII writer switches script for a character it then cannot write,
// and drops the switch on the next round (U+0D0D, unassigned, switches to Malayalam).
bool IsIscii(int codePage) {
  return (codePage >= 57002 && codePage <= 57011);
}

std::string Hex(const std::string& bytes) {
  std::string text;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X ", c);
    text += buf;
  }
  return text;
}

} // namespace

void sv::fuzz::FuzzConvert(const std::uint8_t* data, std::size_t size) {
  if (size < 3)
    return;
  const int codePage = PickCodePage(data[0] | data[1] << 8);
  const char* text = reinterpret_cast<const char*>(data + 3);
  const std::size_t length = size - 3;

  std::u16string wide;
  if (data[2] & 1) {
    wide.resize(length / 2);
    for (std::size_t i = 0; i < wide.size(); ++i)
      wide[i] = static_cast<char16_t>(data[3 + 2 * i] | data[4 + 2 * i] << 8);
  } else {
    wide = sv::AnsiToWide(std::string(text, length), codePage);
  }
  const std::string once = sv::WideToAnsi(wide, codePage);
  const std::u16string back = sv::AnsiToWide(once, codePage);
  const std::string twice = sv::WideToAnsi(back, codePage);
  // For ISCII only the sanitizers judge.
  if (IsIscii(codePage))
    return;
  const auto where = [&] {
    return " in code page " + std::to_string(codePage) + ": " + Hex(once) + "/ " + Hex(twice);
  };
  if (twice != once)
    sv::fuzz::Fail("a second round trip changes the bytes" + where());
  if (sv::AnsiToWide(twice, codePage) != back)
    sv::fuzz::Fail("the text read back changes" + where());
}
