#include "export/SvExportCodes.h"

#include "locale/SvLocaleCodes.h"
#include "locale/SvLocaleTables.h"

#include <algorithm>
#include <set>

namespace sv {

namespace {

bool AllOf(std::string_view text, bool (*test)(char)) {
  return !text.empty() && std::all_of(text.begin(), text.end(), test);
}
bool IsAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsAlnum(char c) {
  return IsAlpha(c) || IsDigit(c);
}
std::string Lower(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return result;
}
std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  return result;
}

struct TScriptSubtag {
  const char* Abbreviation;
  const char* Subtag;
};

// Every script of the script table but the default one.
constexpr TScriptSubtag kScriptSubtags[] = {
    {"lat", "Latn"}, {"gre", "Grek"}, {"cyr", "Cyrl"}, {"ara", "Arab"}, {"heb", "Hebr"},
    {"jap", "Jpan"}, {"tra", "Hant"}, {"sim", "Hans"}, {"kor", "Kore"}, {"tha", "Thai"},
    {"arm", "Armn"}, {"geo", "Geor"}, {"syr", "Syrc"}, {"dhi", "Diak"}, {"dev", "Deva"},
    {"ben", "Beng"}, {"gur", "Guru"}, {"ori", "Orya"}, {"tam", "Taml"}, {"tel", "Telu"},
    {"kan", "Knda"}, {"mal", "Mlym"}, {"guj", "Gujr"},
};

} // namespace

std::string_view Iso15924OfScript(std::string_view abbreviation) {
  for (const TScriptSubtag& row : kScriptSubtags)
    if (abbreviation == row.Abbreviation)
      return row.Subtag;
  return {};
}

std::optional<std::string> LanguageTagOf(std::string_view localeCode) {
  const std::string code(localeCode);
  const std::size_t dot = code.find('.');
  const TSvLocaleParts parts = SplitLocaleCode(code.substr(0, dot), '_');
  if (!AllOf(parts.Language, IsAlpha) || parts.Language.size() < 2 || parts.Language.size() > 3)
    return std::nullopt;
  std::string tag = Lower(parts.Language);
  if (dot != std::string::npos) {
    const std::string_view subtag = Iso15924OfScript(std::string_view(code).substr(dot + 1));
    if (subtag.empty())
      return std::nullopt;
    tag += '-';
    tag += subtag;
  }
  const std::string& country = parts.Country;
  // A blank country (Tsonga's) is no country.
  if (!country.empty() && country[0] != ' ') {
    if (country.size() == 2 && AllOf(country, IsAlpha))
      tag += "-" + Upper(country);
    else if (country.size() == 3 && AllOf(country, IsDigit))
      tag += "-" + country;
    else
      return std::nullopt;
  }
  const std::string& variant = parts.Variant;
  if (!variant.empty()) {
    const bool bcp47 = AllOf(variant, IsAlnum) &&
                       ((variant.size() >= 5 && variant.size() <= 8) ||
                        (variant.size() == 4 && IsDigit(variant[0])));
    if (bcp47) {
      tag += "-" + Lower(variant);
    } else {
      // Letters and digits in pieces of at most 8, as private-use subtags.
      std::string piece;
      std::string privateUse;
      for (char c : variant) {
        if (!IsAlnum(c) || piece.size() == 8) {
          if (!piece.empty())
            privateUse += "-" + piece;
          piece.clear();
        }
        if (IsAlnum(c))
          piece += static_cast<char>(Lower(std::string_view(&c, 1))[0]);
      }
      if (!piece.empty())
        privateUse += "-" + piece;
      if (!privateUse.empty())
        tag += "-x" + privateUse;
    }
  }
  return tag;
}

std::vector<std::string> UniqueLanguageTags(const std::vector<std::string>& localeCodes) {
  std::vector<std::string> tags;
  std::set<std::string> taken; // lower case: tags compare without case
  for (std::size_t i = 0; i < localeCodes.size(); ++i) {
    const std::string column = "col-" + std::to_string(i);
    std::optional<std::string> tag = LanguageTagOf(localeCodes[i]);
    if (!tag)
      tag = "x-" + column;
    else if (taken.count(Lower(*tag)))
      tag = *tag + (tag->find("-x-") == std::string::npos ? "-x-" : "-") + column;
    taken.insert(Lower(*tag));
    tags.push_back(std::move(*tag));
  }
  return tags;
}

std::string GettextLanguageOf(std::string_view tag) {
  std::string result;
  std::string modifier;
  std::size_t start = 0;
  bool first = true;
  while (start <= tag.size()) {
    std::size_t end = tag.find('-', start);
    if (end == std::string_view::npos)
      end = tag.size();
    const std::string_view subtag = tag.substr(start, end - start);
    if (!first && subtag.size() == 4 && IsAlpha(subtag[0])) {
      if (subtag == "Latn")
        modifier = "latin";
      else if (subtag == "Cyrl")
        modifier = "cyrillic";
      else
        modifier = Lower(subtag);
    } else {
      if (!first)
        result += '_';
      result += subtag;
    }
    first = false;
    start = end + 1;
  }
  if (!modifier.empty())
    result += "@" + modifier;
  return result;
}

bool SameCode(std::string_view a, std::string_view b) {
  return a.size() == b.size() && Lower(a) == Lower(b);
}

} // namespace sv
