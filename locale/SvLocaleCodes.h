// Locale code strings (language_COUNTRY_VARIANT.scr), the repair of language
// identifiers whose sublanguage follows from the variant or script alone, and the
// English display names of languages and locales.
#pragma once

#include "locale/SvLocaleTables.h"

#include <cstdint>
#include <string>

namespace sv {

// The parts of a locale code string.
struct TSvLocaleParts {
  std::string Language;
  std::string Country;
  std::string Variant;
  TSvScript Script = 0;
};

// Language, then separator and country, then separator and variant; a variant
// without a country (or with the blank country of Tsonga) keeps both separators.
std::string FormatLocaleCode(const std::string& language, const std::string& country,
                             const std::string& variant, char separator);
// The first three tokens at separator; missing ones are empty. Script stays 0.
TSvLocaleParts SplitLocaleCode(const std::string& text, char separator);
// The code string; ".scr" only when the script differs from the locale's default.
std::string LocaleCodeOf(const std::string& language, const std::string& country,
                         const std::string& variant, TSvScript script);
// A missing or unknown script abbreviation gives the locale's default script.
TSvLocaleParts ParseLocaleCode(const std::string& text);
// The default script of "language_country_variant".
TSvScript DefaultScriptOfCode(const std::string& text);

// Without a country the sublanguage follows from the language code with its
// variant or script; otherwise id is returned unchanged.
std::uint16_t FixLanguageId(std::uint16_t id, const std::string& language,
                            const std::string& country, TSvScript script,
                            const std::string& variant);

// The name of a language: "Serbian, Cyrillic", "Korean, JOHAB, Johab".
std::u16string LanguageDisplayName(const std::string& language, TSvScript script,
                                   const std::string& country, bool qualify,
                                   const std::u16string& variantName,
                                   const std::u16string& baseName, const std::string& variant);
// The name of a language in a country: "Chinese, Traditional (Taiwan)".
std::u16string LocaleDisplayName(const std::string& language, const std::string& country,
                                 TSvScript script, bool qualify, const std::u16string& variantName,
                                 const std::u16string& countryName,
                                 const std::u16string& languageName, const std::string& variant);

} // namespace sv
