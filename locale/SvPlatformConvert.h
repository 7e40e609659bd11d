// The platform's own conversion between UTF-16 and 8-bit code pages, on glibc
// iconv, and the system code page. UTF-8 is converted by direct loops. Nothing
// here raises: characters a code page cannot hold become its "?", invalid input
// becomes U+FFFD, and an unknown code page gives empty text.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace sv {

// The code page of the user's locale (setlocale at start, nl_langinfo(CODESET));
// the C and POSIX locales count as UTF-8 (65001). 0 when the table has no row for
// the locale's character set; code page 0 still converts in that character set.
int SystemCodePage();
// The character set that code page 0 converts in ("UTF-8", "ISO-8859-15" ...).
const std::string& SystemCharset();

// codePage 0 is the system code page.
std::string PlatformWideToAnsi(std::u16string_view text, int codePage);
std::u16string PlatformAnsiToWide(std::string_view text, int codePage);

// Whether codePage converts without shared state, by the direct UTF-8 and UTF-16
// loops: 65001, 1200, 1201, and 0 when the started module found a UTF-8 locale.
// Such conversions need no lock.
bool IsStatelessCodePage(int codePage);

// Whether iconv (or the direct UTF-8 path) converts codePage; opens its converter.
bool IsPlatformCodePage(int codePage);
// Reports each code page of the table that iconv can convert, as decimal text;
// the callback answers whether to go on.
void EnumSystemCodePages(const std::function<bool(const std::string&)>& callback);

// Module start and end: the system code page is read, the converters are closed.
void StartPlatformConvert();
void FinishPlatformConvert();

} // namespace sv
