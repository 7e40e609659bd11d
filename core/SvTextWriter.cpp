#include "core/SvTextWriter.h"

#include "locale/SvConvert.h"
#include "text/SvErrors.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <cerrno>
#include <cstring>

namespace sv {

namespace {

constexpr const char* kEncodingNames[] = {
    SvN("Ansi"),
    SvN("UTF-8"),
    SvN("UTF-16, little endian"),
    SvN("UTF-16, big endian"),
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// A surrogate pair becomes one four-byte sequence; a lone surrogate, which UTF-8
// cannot carry, becomes U+FFFD.
std::string EncodeUtf8(const std::u16string& s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (IsHighSurrogate(c) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) {
      AppendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::string EncodeUtf16(const std::u16string& s, bool bigEndian) {
  std::string out;
  out.reserve(s.size() * 2);
  for (char16_t c : s) {
    const char low = static_cast<char>(c & 0xFF);
    const char high = static_cast<char>(c >> 8);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

char EscapeLetter(char16_t c) {
  switch (c) {
  case u'\\':
    return '\\';
  case u'"':
    return '"';
  case u'\'':
    return '\'';
  case u'\b':
    return 'b';
  case u'\t':
    return 't';
  case u'\n':
    return 'n';
  case u'\f':
    return 'f';
  case u'\r':
    return 'r';
  default:
    return 0;
  }
}

} // namespace

std::string TextEncodingName(TSvTextEncoding encoding) {
  if (encoding > teUtf16BE)
    return {};
  return SvTr(kEncodingNames[encoding]);
}

// ---- TSvFileSink ----

TSvFileSink::TSvFileSink(const std::string& fileName) : FFileName(fileName) {
  FFile = std::fopen(fileName.c_str(), "wb");
  if (!FFile)
    throw ESvStreamError(
        SvFormat("Cannot create file \"%s\". %s", {fileName, std::strerror(errno)}));
}

TSvFileSink::~TSvFileSink() {
  if (FFile)
    std::fclose(FFile);
}

void TSvFileSink::Write(std::string_view bytes) {
  if (!FFile)
    throw ESvStreamError("Stream write error");
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size())
    throw ESvStreamError("Stream write error");
}

void TSvFileSink::Close() {
  if (!FFile)
    return;
  std::FILE* file = FFile;
  FFile = nullptr;
  if (std::fclose(file) != 0)
    throw ESvStreamError(
        SvFormat("Cannot write file \"%s\". %s", {FFileName, std::strerror(errno)}));
}

// ---- TSvTextWriter ----

void TSvTextWriter::WriteText(const std::u16string& s) {
  if (s.empty())
    return;
  switch (FEncoding) {
  case teAnsi:
    FStream.Write(FEscaped ? EscapeText(s, {}) : WideToAnsi(s, FCodePage));
    break;
  case teUtf8:
    FStream.Write(EncodeUtf8(s));
    break;
  default:
    FStream.Write(EncodeUtf16(s, FEncoding == teUtf16BE));
    break;
  }
}

void TSvTextWriter::WriteLineBreak() {
  const bool both = FLineBreaks.Empty();
  const bool cr = both || FLineBreaks.Contains(lbCarriageReturn);
  const bool lf = both || FLineBreaks.Contains(lbLineFeed);
  if (FEncoding == teAnsi) {
    if (cr)
      FStream.Write("\r");
    if (lf)
      FStream.Write("\n");
    return;
  }
  if (cr)
    WriteText(u"\r");
  if (lf)
    WriteText(u"\n");
}

std::string TSvTextWriter::EscapeText(const std::u16string& s, const std::u16string& escapable) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string result;
  result.reserve(s.size());
  for (char16_t c : s) {
    const char letter = EscapeLetter(c);
    if (letter && escapable.find(c) != std::u16string::npos) {
      result += '\\';
      result += letter;
    } else if (c >= 128) {
      result += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4)
        result += kHex[(c >> shift) & 0xF];
    } else {
      result += static_cast<char>(c);
    }
  }
  return result;
}

} // namespace sv
