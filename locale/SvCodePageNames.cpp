#include "locale/SvCodePageNames.h"

#include "locale/SvLocaleTables.h"

#include <cctype>

namespace sv {

namespace {

struct TSvCodePageAlias {
  int CodePage;
  const char* IconvName;
};

// iconv names where the table's internet name is unknown to glibc or means a
// different mapping (glibc's SHIFT_JIS maps 0x5C to the yen sign, its UNICODE
// writes a byte order mark, GB2312 is the EUC subset of GBK).
constexpr TSvCodePageAlias kIconvAliases[] = {
    {932, "CP932"},          {936, "CP936"},          {949, "CP949"},
    {950, "CP950"},          {1200, "UTF-16LE"},      {1201, "UTF-16BE"},
    {38598, "ISO-8859-8"},   {20269, "ISO_6937"},     {737, "CP737"},
    {10007, "MAC-CYRILLIC"}, {10017, "MACUKRAINIAN"}, {10029, "MAC-CENTRALEUROPE"},
};

// OEM and EBCDIC code pages are IBM's numbers, the 2xxxx and 5xxxx ones offset.
int IbmNumberOf(const TSvCodePageData& row) {
  if (row.Kind != ekOem && row.Kind != ekEbcdic)
    return 0;
  if (row.CodePage >= 50000)
    return row.CodePage - 50000;
  if (row.CodePage >= 20000)
    return row.CodePage - 20000;
  return row.CodePage;
}

std::string Upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

} // namespace

std::vector<std::string> IconvNamesOf(int codePage) {
  const TSvCodePageData* row = FindCodePage(codePage);
  if (!row)
    return {};
  std::vector<std::string> names;
  for (const TSvCodePageAlias& alias : kIconvAliases)
    if (alias.CodePage == codePage)
      names.emplace_back(alias.IconvName);
  names.emplace_back(row->Name);
  if (const int ibm = IbmNumberOf(*row))
    names.push_back("IBM" + std::to_string(ibm));
  return names;
}

std::vector<std::string> IcuNamesOf(int codePage) {
  const TSvCodePageData* row = FindCodePage(codePage);
  if (!row)
    return {};
  // ICU knows most of the platform's code pages as "windows-<number>".
  std::vector<std::string> names{"windows-" + std::to_string(codePage)};
  if (const int ibm = IbmNumberOf(*row))
    names.push_back("ibm-" + std::to_string(ibm));
  names.emplace_back(row->Name);
  return names;
}

int CodePageOfCharset(const std::string& charset) {
  const std::string name = Upper(charset);
  if (name.empty())
    return 0;
  for (const TSvCodePageAlias& alias : kIconvAliases)
    if (name == alias.IconvName)
      return alias.CodePage;
  // "CP1251", "WINDOWS-1251", "IBM850": the number itself.
  for (const char* prefix : {"CP", "WINDOWS-", "IBM"}) {
    const std::string p(prefix);
    if (name.size() > p.size() && name.compare(0, p.size(), p) == 0) {
      const std::string digits = name.substr(p.size());
      if (digits.find_first_not_of("0123456789") == std::string::npos && digits.size() <= 5) {
        const int number = std::stoi(digits);
        if (FindCodePage(number))
          return number;
      }
    }
  }
  for (const TSvCodePageData& row : CodePageTable())
    if (Upper(row.Name) == name)
      return row.CodePage;
  return 0;
}

} // namespace sv
