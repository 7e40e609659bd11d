#include "xml/SvXmlEncoding.h"

#include "locale/SvConvert.h"
#include "locale/SvLocaleTables.h"

#include <cstring>

#include <unicode/uchar.h>

namespace sv {

namespace {

// The one character that bytes stand for in codePage, or -1. The replacement
// characters of a conversion stand for nothing.
int SingleChar(const std::string& bytes, int codePage) {
  const std::u16string wide = AnsiToWide(bytes, codePage);
  if (wide.size() != 1)
    return -1;
  const char16_t c = wide[0];
  if (c == 0xFFFD || (c >= 0xD800 && c <= 0xDFFF) || (c == 0x1A && bytes != "\x1A"))
    return -1;
  return c;
}

// UTF-7, UTF-8 and UTF-16 are no 8-bit code pages.
bool IsUnicodeCodePage(int codePage) {
  return codePage == 0 || codePage == 65000 || codePage == 65001 || codePage == 1200 ||
         codePage == 1201;
}

// The bytes that markup uses: tab, line feed, carriage return and the printable
// ASCII characters but those that some code pages put national signs in place of.
bool IsMarkupByte(int b) {
  return b == 0x09 || b == 0x0A || b == 0x0D ||
         (b >= 0x20 && b < 0x7F && !std::strchr("$%@\\^`{}~", b));
}

// The bytes that a map for expat must keep: markup's and the percent sign.
bool IsMapByte(int b) {
  return IsMarkupByte(b) || b == '%';
}

bool SameAscii(char a, char b) {
  if (a >= 'A' && a <= 'Z')
    a = static_cast<char>(a - 'A' + 'a');
  if (b >= 'A' && b <= 'Z')
    b = static_cast<char>(b - 'A' + 'a');
  return a == b;
}

} // namespace

std::optional<TSvXmlByteMap> XmlByteMapOf(int codePage) {
  if (IsUnicodeCodePage(codePage) || !FindCodePage(codePage))
    return std::nullopt;
  TSvXmlByteMap result;
  result.CodePage = codePage;
  for (int b = 0; b < 256; ++b) {
    const int c = SingleChar(std::string(1, static_cast<char>(b)), codePage);
    if (b < 0x80) {
      // The markup must read as ASCII; a few characters that markup does not use may
      // differ (some code pages put a currency sign in place of the backslash). A
      // byte that reads as nothing alone starts a shift or a longer form.
      if (c < 0 || (IsMapByte(b) && c != b))
        return std::nullopt;
    } else if (c < 0) {
      for (unsigned char trail : {0x30, 0x40, 0x41, 0x80, 0xA1, 0xA2})
        if (XmlDoubleByteChar(codePage, static_cast<unsigned char>(b), trail) >= 0)
          return std::nullopt; // a lead byte
    }
    result.Map[static_cast<std::size_t>(b)] = c;
  }
  // The converter must write each character as the one byte that reads as it: a
  // code page that adds shifts or designations (ISCII) is no single-byte one.
  for (int b = 0; b < 256; ++b) {
    const int c = result.Map[static_cast<std::size_t>(b)];
    if (c < 0)
      continue;
    const std::string bytes = WideToAnsi(std::u16string(1, static_cast<char16_t>(c)), codePage);
    if (bytes.size() != 1 || result.Map[static_cast<unsigned char>(bytes[0])] != c)
      return std::nullopt;
    // A converter that composes a letter with a following mark (1258) reads a pair
    // of bytes as one character, which no byte map can describe.
    if (u_getCombiningClass(static_cast<UChar32>(c)) != 0 &&
        AnsiToWide(std::string{'A', static_cast<char>(b)}, codePage) !=
            std::u16string{u'A', static_cast<char16_t>(c)})
      return std::nullopt;
  }
  return result;
}

bool XmlCanCarry(int codePage) {
  if (IsUnicodeCodePage(codePage) || !FindCodePage(codePage))
    return false;
  if (XmlByteMapOf(codePage))
    return true;
  // The markup is written as ASCII; a line break may be followed by a shift back
  // to the code page's own script (ISCII), as long as it reads back.
  std::u16string markup;
  for (int b = 0; b < 0x80; ++b)
    if (IsMarkupByte(b) && b != '\n' && b != '\r')
      markup += static_cast<char16_t>(b);
  const std::string ascii(markup.begin(), markup.end());
  const std::u16string lines = u"<a>\n<b/>\r\n</a>\n";
  return WideToAnsi(markup, codePage) == ascii && AnsiToWide(ascii, codePage) == markup &&
         AnsiToWide(WideToAnsi(lines, codePage), codePage) == lines;
}

int XmlDoubleByteChar(int codePage, unsigned char lead, unsigned char trail) {
  const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  return SingleChar(std::string(bytes, 2), codePage);
}

int XmlCodePageOfName(std::string_view name) {
  if (name.empty())
    return 0;
  for (const TSvCodePageData& row : CodePageTable()) {
    const std::string_view rowName(row.Name);
    if (rowName.size() != name.size())
      continue;
    bool same = true;
    for (std::size_t i = 0; same && i < name.size(); ++i)
      same = SameAscii(rowName[i], name[i]);
    if (same)
      return row.CodePage;
  }
  return 0;
}

std::string XmlNameOfCodePage(int codePage) {
  const TSvCodePageData* row = FindCodePage(codePage);
  return row ? std::string(row->Name) : std::string();
}

} // namespace sv
