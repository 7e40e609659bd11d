#include "locale/SvLocaleCodes.h"

#include "locale/SvConvert.h"
#include "text/SvParser.h"
#include "text/SvStrings.h"

namespace sv {

namespace {

constexpr TSvScript kLatin = 1;
constexpr TSvScript kCyrillic = 3;
constexpr TSvScript kChineseTraditional = 7;
constexpr TSvScript kChineseSimplified = 8;

// The text before the first separator, or the whole text; blanks stay.
std::u16string FirstToken(const std::u16string& text, char16_t separator) {
  TSvWideParser parser(text, qkNone, separator);
  return parser.NextToken();
}

// Texts of the string table and the tables are in the system code page.
std::u16string Wide(const std::string& text) {
  return AnsiToWide(text, 0);
}
std::u16string Translated(const char* english) {
  return Wide(SvTr(english));
}

std::u16string ChineseQualifier(TSvScript script, const std::string& country) {
  return script == kChineseSimplified || country == "CN" || country == "SG"
             ? Translated(SvN("Simplified"))
             : Translated(SvN("Traditional"));
}

std::u16string ScriptQualifier(TSvScript script) {
  return script == kCyrillic ? Translated(SvN("Cyrillic")) : Translated(SvN("Latin"));
}

// The variant's name, or its code when it has none.
std::u16string VariantText(const std::u16string& variantName, const std::string& variant) {
  return variantName.empty() ? Wide(variant) : variantName;
}

} // namespace

std::string FormatLocaleCode(const std::string& language, const std::string& country,
                             const std::string& variant, char separator) {
  std::string result = language;
  if (!country.empty() && country.front() != ' ') {
    result += separator;
    result += country;
    if (!variant.empty()) {
      result += separator;
      result += variant;
    }
  } else if (!variant.empty()) {
    result += separator;
    result += separator;
    result += variant;
  }
  return result;
}

TSvLocaleParts SplitLocaleCode(const std::string& text, char separator) {
  TSvAnsiParser parser(text, qkNone, separator);
  TSvLocaleParts parts;
  parts.Language = parser.NextToken();
  parts.Country = parser.NextToken();
  parts.Variant = parser.NextToken();
  return parts;
}

std::string LocaleCodeOf(const std::string& language, const std::string& country,
                         const std::string& variant, TSvScript script) {
  std::string result = FormatLocaleCode(language, country, variant, '_');
  if (!result.empty() && script != 0 && script != DefaultScriptOfCode(result)) {
    // Appended in two steps: "." + string trips a false -Wrestrict of gcc 12 at -O3.
    result += '.';
    result += ScriptAbbreviation(script);
  }
  return result;
}

TSvLocaleParts ParseLocaleCode(const std::string& text) {
  TSvAnsiParser parser(text, qkNone, '.');
  const std::string code = parser.NextToken();
  const std::string abbreviation = parser.NextToken();
  TSvLocaleParts parts = SplitLocaleCode(code, '_');
  const TSvScript defaultScript = DefaultScriptOf(parts.Language, parts.Country, parts.Variant);
  parts.Script = ScriptOfAbbreviation(abbreviation, defaultScript);
  return parts;
}

TSvScript DefaultScriptOfCode(const std::string& text) {
  const TSvLocaleParts parts = SplitLocaleCode(text, '_');
  return DefaultScriptOf(parts.Language, parts.Country, parts.Variant);
}

std::uint16_t FixLanguageId(std::uint16_t id, const std::string& language,
                            const std::string& country, TSvScript script,
                            const std::string& variant) {
  if (!country.empty())
    return id;
  int sublanguage;
  if (language == "es")
    sublanguage = variant == "MOD" ? 3 : 0;
  else if (language == "no")
    sublanguage = variant == "NYNORSK" ? 2 : 0;
  else if (language == "zh")
    sublanguage = script == kChineseTraditional ? 1 : 2;
  else if (language == "sr")
    sublanguage = script == kLatin ? 2 : 3;
  else if (language == "bs")
    sublanguage = 5;
  else if (language == "az" || language == "uz")
    sublanguage = script == kCyrillic ? 2 : 1;
  else if (language == "se") {
    if (variant == "NORTHERN")
      sublanguage = 1;
    else if (variant == "LULE")
      sublanguage = 4;
    else if (variant == "SOUTHERN")
      sublanguage = 6;
    else if (variant == "SKOLT")
      sublanguage = 8;
    else
      sublanguage = 9;
  } else
    return id;
  return static_cast<std::uint16_t>(PrimaryLanguageOf(language) + sublanguage * 1024);
}

std::u16string LanguageDisplayName(const std::string& language, TSvScript script,
                                   const std::string& country, bool qualify,
                                   const std::u16string& variantName,
                                   const std::u16string& baseName, const std::string& variant) {
  std::u16string name = baseName.empty() ? Wide(LanguageNameOf(language, script, "")) : baseName;
  std::u16string qualifier;
  if (language == "no" || language == "es") {
    name = FirstToken(name, u' ');
  } else if (language == "zh") {
    name = FirstToken(name, u'(');
    qualifier = ChineseQualifier(script, country);
  } else if (language == "ko") {
    name = FirstToken(name, u'(');
    if (variant == "JOHAB")
      qualifier = Translated(SvN("Johab"));
  } else if (language == "sr" || language == "az" || language == "uz") {
    name = FirstToken(name, u' ');
    qualifier = ScriptQualifier(script);
  }
  if (!variant.empty())
    name += u", " + VariantText(variantName, variant);
  if (qualify && !qualifier.empty())
    name += u", " + qualifier;
  return name;
}

std::u16string LocaleDisplayName(const std::string& language, const std::string& country,
                                 TSvScript script, bool qualify, const std::u16string& variantName,
                                 const std::u16string& countryName,
                                 const std::u16string& languageName, const std::string& variant) {
  std::u16string name =
      languageName.empty() ? Wide(LanguageNameOf(language, script, "")) : languageName;
  const std::u16string countryText =
      countryName.empty() ? Wide(CountryNameOf(language, country, script)) : countryName;
  std::u16string qualifier;
  if (qualify) {
    if (language == "no") {
      name = FirstToken(name, u' ');
      if (variant == "NYNORSK")
        qualifier = variantName.empty() ? Translated(SvN("Nynorsk")) : variantName;
    } else if (language == "es") {
      name = FirstToken(name, u' ');
      if (variant == "MOD")
        qualifier = variantName.empty() ? Translated(SvN("Modern")) : variantName;
    } else if (language == "zh") {
      name = FirstToken(name, u'(');
      qualifier = ChineseQualifier(script, country);
    } else if (language == "ko") {
      name = FirstToken(name, u'(');
      if (variant == "JOHAB")
        qualifier = variantName.empty() ? Translated(SvN("Johab")) : variantName;
    } else if (language == "az" || language == "uz") {
      name = FirstToken(name, u' ');
      qualifier = ScriptQualifier(script);
    } else if (!variant.empty()) {
      qualifier = VariantText(variantName, variant);
    }
  }
  if (!qualifier.empty())
    name += u", " + qualifier;
  if (!country.empty())
    name += u" (" + countryText + u")";
  return name;
}

} // namespace sv
