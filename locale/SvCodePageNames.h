// The names under which the two conversion libraries (glibc iconv for the
// platform path, ICU for the multi-language service) know the code pages of the
// code page table, and the code page of a character set name.
#pragma once

#include <string>
#include <vector>

namespace sv {

// The names to try with iconv_open, best first; empty for a code page without a row.
std::vector<std::string> IconvNamesOf(int codePage);
// The names to try with ICU's ucnv_open, best first; empty for a code page without a row.
std::vector<std::string> IcuNamesOf(int codePage);
// The code page of a character set name such as nl_langinfo(CODESET) answers
// ("UTF-8", "ISO-8859-15", "CP1251"); 0 when no row of the table matches.
int CodePageOfCharset(const std::string& charset);

} // namespace sv
