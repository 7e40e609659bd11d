#include "xml/SvXmlEncoding.h"

#include "locale/SvConvert.h"
#include "locale/SvLocaleTables.h"

#include <cstring>

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

bool SameAscii(char a, char b) {
  if (a >= 'A' && a <= 'Z')
    a = static_cast<char>(a - 'A' + 'a');
  if (b >= 'A' && b <= 'Z')
    b = static_cast<char>(b - 'A' + 'a');
  return a == b;
}

} // namespace

std::optional<TSvXmlByteMap> XmlByteMapOf(int codePage) {
  // Unicode code pages (UTF-7, UTF-8, UTF-16) are no 8-bit code pages.
  if (codePage == 0 || codePage == 65000 || codePage == 65001 || codePage == 1200 ||
      codePage == 1201 || !FindCodePage(codePage))
    return std::nullopt;
  TSvXmlByteMap result;
  result.CodePage = codePage;
  for (int b = 0; b < 256; ++b) {
    const int c = SingleChar(std::string(1, static_cast<char>(b)), codePage);
    if (b < 0x80) {
      // The markup must read as ASCII; a few characters that markup does not use may
      // differ (some code pages put a currency sign in place of the backslash).
      const bool needed = b == 0x09 || b == 0x0A || b == 0x0D ||
                          (b >= 0x20 && b < 0x7F && !std::strchr("$@\\^`{}~", b));
      if (needed && c != b)
        return std::nullopt;
      result.Map[static_cast<std::size_t>(b)] = c;
      continue;
    }
    if (c >= 0) {
      result.Map[static_cast<std::size_t>(b)] = c;
      continue;
    }
    int lead = -1;
    for (unsigned char trail : {0x40, 0x41, 0x80, 0xA1, 0xA2})
      if (XmlDoubleByteChar(codePage, static_cast<unsigned char>(b), trail) >= 0) {
        lead = -2;
        break;
      }
    result.Map[static_cast<std::size_t>(b)] = lead;
  }
  return result;
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
