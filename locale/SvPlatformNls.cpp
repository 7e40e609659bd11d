#include "locale/SvPlatformNls.h"

#include "locale/SvConvert.h"
#include "locale/SvLocaleTables.h"

#include <unicode/uloc.h>

#include <string>

namespace sv {

namespace {

// ICU's locale name of a locale identifier; empty when ICU does not know it.
std::string IcuLocaleOf(std::uint32_t locale) {
  char name[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = uloc_getLocaleForLCID(locale, name, sizeof(name), &status);
  if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length <= 0)
    return std::string();
  // The root locale stands for no language at all.
  char language[ULOC_LANG_CAPACITY] = {};
  status = U_ZERO_ERROR;
  uloc_getLanguage(name, language, sizeof(language), &status);
  if (U_FAILURE(status) || language[0] == '\0' || std::string(language) == "root")
    return std::string();
  return std::string(name, static_cast<std::size_t>(length));
}

using TIcuDisplayFunction = int32_t (*)(const char*, const char*, UChar*, int32_t, UErrorCode*);

std::u16string IcuDisplayName(TIcuDisplayFunction display, const std::string& locale,
                              const char* displayLocale) {
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = display(locale.c_str(), displayLocale, nullptr, 0, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
    return std::u16string();
  if (length <= 0)
    return std::u16string();
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  status = U_ZERO_ERROR;
  display(locale.c_str(), displayLocale, text.data(), length, &status);
  if (U_FAILURE(status))
    return std::u16string();
  return text;
}

// The Windows code page of the locale's row in our own table; "0" (none) for a
// locale without one, as the platform answers for Unicode-only locales.
std::u16string DefaultAnsiCodePageText(std::uint32_t locale) {
  const int primary = static_cast<int>(locale & 0x3FF);
  const int sublanguage = static_cast<int>((locale >> 10) & 0x3F);
  int codePage = 0;
  if (const TSvLocaleData* row = FindLocaleById(primary, sublanguage))
    codePage = CodePageOfName(EncodingGroupTable()[row->Encodings][ekWindows]);
  const std::string digits = std::to_string(codePage);
  return std::u16string(digits.begin(), digits.end());
}

} // namespace

std::u16string GetLocaleInfoW(std::uint32_t locale, TSvLocaleInfo info) {
  const std::string icuLocale = IcuLocaleOf(locale);
  if (icuLocale.empty())
    return std::u16string();
  switch (info) {
  case LOCALE_IDEFAULTANSICODEPAGE:
    return DefaultAnsiCodePageText(locale);
  case LOCALE_SNATIVELANGNAME:
    return IcuDisplayName(uloc_getDisplayLanguage, icuLocale, icuLocale.c_str());
  case LOCALE_SNATIVECTRYNAME:
    return IcuDisplayName(uloc_getDisplayCountry, icuLocale, icuLocale.c_str());
  case LOCALE_SENGCOUNTRY:
    return IcuDisplayName(uloc_getDisplayCountry, icuLocale, "en");
  }
  return std::u16string();
}

std::string GetLocaleInfoA(std::uint32_t locale, TSvLocaleInfo info) {
  return WideToAnsi(GetLocaleInfoW(locale, info), 0);
}

} // namespace sv
