// Locale code strings, identifiers and names on arbitrary codes: ParseLocaleCode,
// SetId of a language and of a project language, FixLanguageId and the display names.
// Bytes 0-1 give a language identifier, byte 2 a script and a switch, the rest the code.
#include "fuzz/SvFuzzStart.h"
#include "fuzz/SvFuzzTargets.h"
#include "language/SvLanguage.h"
#include "language/SvLocale.h"
#include "locale/SvLocaleCodes.h"
#include "text/SvErrors.h"

#include <string>

namespace {

// A code read back gives the same code.
template <typename TCulture> void CheckIdStable(const std::string& code) {
  TCulture culture;
  culture.SetId(code);
  culture.Update();
  const std::string id = culture.GetId();
  TCulture again;
  again.SetId(id);
  again.Update();
  if (again.GetId() != id)
    sv::fuzz::Fail("SetId(GetId()) gives another code");
  (void)culture.GetLocaleId();
  (void)culture.GetCodePage();
  (void)culture.GetCharset();
  (void)culture.GetDisplayName(0);
}

} // namespace

void sv::fuzz::FuzzLocaleCode(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || size > 4096)
    return;
  const auto id = static_cast<std::uint16_t>(data[0] | data[1] << 8);
  const auto script = static_cast<sv::TSvScript>(data[2] & 0x7F);
  const bool qualify = data[2] & 0x80;
  const std::string code(reinterpret_cast<const char*>(data + 3), size - 3);

  const sv::TSvLocaleParts parts = sv::ParseLocaleCode(code);
  (void)sv::LocaleCodeOf(parts.Language, parts.Country, parts.Variant, parts.Script);
  (void)sv::FixLanguageId(id, parts.Language, parts.Country, script, parts.Variant);
  (void)sv::FixLanguageId(id, parts.Language, {}, parts.Script, parts.Variant);
  const std::u16string variantName(parts.Variant.begin(), parts.Variant.end());
  (void)sv::LanguageDisplayName(parts.Language, script, parts.Country, qualify, variantName, u"",
                                parts.Variant);
  (void)sv::LocaleDisplayName(parts.Language, parts.Country, script, qualify, {}, {}, {},
                              parts.Variant);

  CheckIdStable<sv::TSvLanguage>(code);
  CheckIdStable<sv::TSvProjectLanguage>(code);

  sv::TSvProjectLanguage language;
  language.SetId(code);
  language.SetLanguageId(id & 0x3FF);
  language.SetSublanguageId(id >> 10);
  language.Update();
  (void)language.GetEnglishName();
  (void)language.GetNativeName();
  (void)language.GetNativeLocaleId();
  return;
}
