// WideToAnsi and AnsiToWide over arbitrary bytes in a code page taken from the input:
// every code page of the table (the service-only ones included), 0, 1200, 1201, 65000
// and 65001. Once text has been through one round, a further round keeps it (for
// the stateless code pages). Raw UTF-16 also goes through each path of the direct
// UTF-8 conversion.
// Bytes 0-1 pick the code page, byte 2 the direction, the rest is the text.
#include "fuzz/SvFuzzStart.h"
#include "fuzz/SvFuzzTargets.h"
#include "locale/SvConvert.h"
#include "locale/SvLocaleTables.h"
#include "locale/SvUtf8.h"

#include <algorithm>
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
  // The direct UTF-8 conversion makes the bytes of WideToAnsi on every path, from
  // any unit of the text on.
  if (data[2] & 1) {
    const std::string utf8 = sv::WideToAnsi(wide, 65001);
    const std::size_t skip = std::min<std::size_t>(wide.size(), data[2] >> 1 & 15);
    const std::string tail = sv::WideToAnsi(wide.substr(skip), 65001);
    for (sv::TSvUtf8Path path : {sv::TSvUtf8Path::Scalar, sv::TSvUtf8Path::Sse2,
                                 sv::TSvUtf8Path::Avx2}) {
      if (!sv::IsUtf8PathAvailable(path))
        continue;
      std::string direct, shifted;
      sv::AppendUtf8(wide, direct, path);
      sv::AppendUtf8(std::u16string_view(wide).substr(skip), shifted, path);
      if (direct != utf8 || shifted != tail)
        sv::fuzz::Fail("the direct UTF-8 path " + std::to_string(static_cast<int>(path)) +
                       " differs: " + Hex(direct) + "/ " + Hex(utf8));
    }
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
