// The platform's locale information, answered from ICU. Locale identifiers map to
// ICU locales through ICU's own LCID mapping; an identifier ICU does not know
// gives empty text.
#pragma once

#include <cstdint>
#include <string>

namespace sv {

enum TSvLocaleInfo {
  LOCALE_IDEFAULTANSICODEPAGE, // decimal text
  LOCALE_SNATIVELANGNAME,
  LOCALE_SNATIVECTRYNAME,
  LOCALE_SENGCOUNTRY
};

// The text as UTF-16; empty when the platform has none.
std::u16string GetLocaleInfoW(std::uint32_t locale, TSvLocaleInfo info);
// The same narrowed to the system code page (WideToAnsi with code page 0).
std::string GetLocaleInfoA(std::uint32_t locale, TSvLocaleInfo info);

} // namespace sv
