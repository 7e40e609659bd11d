// Language codes of an export: well-formed BCP 47 tags made from a language's
// identity ("de_DE" -> "de-DE", "sr_SP.lat" -> "sr-Latn-SP"), unique in a document.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sv {

// The tag of a locale code string ("language_COUNTRY_VARIANT.scr"), or none when it
// has no usable language code: a language of 2 or 3 ASCII letters is required, a
// country must be 2 letters or 3 digits, a script needs an ISO 15924 subtag. A
// variant that is no BCP 47 variant (5-8 letters or digits, or a digit and 3 more)
// goes into a private-use subtag ("es_ES_MOD" -> "es-ES-x-mod").
std::optional<std::string> LanguageTagOf(std::string_view localeCode);

// The ISO 15924 subtag of a script abbreviation of the script table ("lat" ->
// "Latn"); empty for the default script and unknown ones.
std::string_view Iso15924OfScript(std::string_view abbreviation);

// The tags of the columns of a dictionary from their locale code strings: a column
// without a usable code gets "x-col-N", a column whose tag an earlier column holds
// gets that tag with "-x-col-N" (in its private-use part), N being the column index.
std::vector<std::string> UniqueLanguageTags(const std::vector<std::string>& localeCodes);

// The tag in gettext's form: "de-DE" -> "de_DE", "sr-Latn-RS" -> "sr_RS@latin"
// where gettext has a modifier for the script; others with underscores.
std::string GettextLanguageOf(std::string_view tag);

// Whether two codes are the same ignoring ASCII case.
bool SameCode(std::string_view a, std::string_view b);

} // namespace sv
