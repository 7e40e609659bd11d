#include "app/SvqCommon.h"

#include "locale/SvPlatformConvert.h"
#include "text/SvStrings.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

#ifndef SV_VERSION
#define SV_VERSION "1.0.0"
#endif

namespace sv {

namespace {

constexpr std::size_t kFlushSize = 64 * 1024;

struct TSvOutput {
  std::string Buffer; // its first Used bytes are the output; the rest is room
  std::size_t Used = 0;
  std::string* Sink = nullptr; // instead of standard output
  bool Escape = ::isatty(STDOUT_FILENO) == 1;
};

TSvOutput& Output() {
  static TSvOutput output;
  return output;
}

// Room for size more bytes after the used ones.
char* Room(std::size_t size) {
  TSvOutput& output = Output();
  if (output.Buffer.size() - output.Used < size)
    // Doubling from a small start: a short report touches few pages.
    output.Buffer.resize(std::max({output.Used + size, 2 * output.Buffer.size(), std::size_t(4096)}));
  return output.Buffer.data() + output.Used;
}

void Append(std::string_view text) {
  if (!text.empty())
    std::memcpy(Room(text.size()), text.data(), text.size());
  TSvOutput& output = Output();
  output.Used += text.size();
  if (output.Used >= kFlushSize)
    FlushOutput();
}

const char kHex[] = "0123456789ABCDEF";

void AppendHexEscape(std::string& out, unsigned value) {
  out += "\\x";
  out += kHex[(value >> 4) & 15];
  out += kHex[value & 15];
}

void AppendControl(std::string& out, unsigned char c) {
  switch (c) {
  case '\n':
    out += "\\n";
    break;
  case '\r':
    out += "\\r";
    break;
  case '\t':
    out += "\\t";
    break;
  default:
    AppendHexEscape(out, c);
  }
}

// Length of the valid UTF-8 sequence at text[i], 0 when there is none.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  const auto b = static_cast<unsigned char>(text[i]);
  std::size_t length;
  unsigned min;
  if (b >= 0xC2 && b <= 0xDF)
    length = 2, min = 0x80;
  else if (b >= 0xE0 && b <= 0xEF)
    length = 3, min = 0x800;
  else if (b >= 0xF0 && b <= 0xF4)
    length = 4, min = 0x10000;
  else
    return 0;
  if (i + length > text.size())
    return 0;
  unsigned cp = b & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(text[i + k]);
    if ((c & 0xC0) != 0x80)
      return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return length;
}

bool IsBidiControl(unsigned cp) {
  return (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
}

} // namespace

std::string EscapeControls(std::string_view text, bool utf8) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x20 || b == 0x7F) {
      AppendControl(out, b);
      ++i;
      continue;
    }
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    const std::size_t length = utf8 ? Utf8Length(text, i) : 0;
    if (length == 0) {
      // A byte of an 8-bit code page, or of no valid UTF-8 sequence: C1 bytes are
      // escaped, others pass.
      if (b <= 0x9F)
        AppendHexEscape(out, b);
      else
        out += static_cast<char>(b);
      ++i;
      continue;
    }
    const auto c1 = static_cast<unsigned char>(text[i + 1]);
    if (length == 2 && b == 0xC2 && c1 <= 0x9F) {
      AppendHexEscape(out, c1);
    } else if (length == 3 && b == 0xE2 &&
               IsBidiControl(0x2000u | ((c1 & 0x3Fu) << 6) |
                             (static_cast<unsigned char>(text[i + 2]) & 0x3Fu))) {
      out += "\\u20";
      const unsigned low =
          ((c1 & 0x3Fu) << 6 | (static_cast<unsigned char>(text[i + 2]) & 0x3Fu)) & 0xFF;
      out += kHex[low >> 4];
      out += kHex[low & 15];
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

bool EscapesOutput() {
  return Output().Escape;
}

void SetEscapesOutput(bool escape) {
  Output().Escape = escape;
}

void WriteText(std::string_view text) {
  if (Output().Escape)
    Append(EscapeControls(text, SystemCodePage() == 65001));
  else
    Append(text);
}

void WriteRaw(std::string_view text) {
  Append(text);
}

void WriteLine(std::string_view text) {
  WriteText(text);
  Append("\n");
}

void WriteLineFmt(std::string_view format, std::initializer_list<TSvFormatArg> args) {
  WriteLine(SvFormat(format, args));
}

void WriteBanner(std::string_view programName) {
  // The rights notice: a localizable word, then the fixed years, maker and licence.
  WriteLineFmt("%s %s %s %s 2026 The SvqPeek developers (MIT License)",
               {programName, SvTr("Version"), SV_VERSION, SvTr("Copyright")});
}

void WriteSyntax() {
  WriteLine(SvTr("Syntax:"));
}

void SetOutputSink(std::string* sink) {
  Output().Sink = sink;
}

char* BeginRawOutput(std::size_t size) {
  return Room(size);
}

void EndRawOutput(const char* end) {
  TSvOutput& output = Output();
  output.Used = static_cast<std::size_t>(end - output.Buffer.data());
  if (output.Used >= kFlushSize)
    FlushOutput();
}

void FlushOutput() {
  TSvOutput& output = Output();
  const std::string_view buffer(output.Buffer.data(), output.Used);
  output.Used = 0;
  if (output.Sink) {
    output.Sink->append(buffer);
    return;
  }
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n = ::write(STDOUT_FILENO, buffer.data() + done, buffer.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break; // standard output is gone; nothing more can be shown
    done += static_cast<std::size_t>(n);
  }
}

} // namespace sv
