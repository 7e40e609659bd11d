#include "locale/SvLocaleTables.h"

#include "locale/SvPlatformNls.h"
#include "text/SvStrings.h"

#include <charconv>
#include <memory>
#include <vector>

namespace sv {

namespace {

constexpr std::size_t kWindowsCodePageRows = 14;

// The localizable texts of the tables, translated at module start.
struct TSvLocaleNames {
  std::vector<std::string> CodePageDescriptions;
  std::vector<std::string> EncodingDescriptions;
  std::vector<std::string> LanguageNames;
  std::vector<std::string> CountryNames;
  std::vector<std::string> VariantNames;
};

constinit std::unique_ptr<TSvLocaleNames> gNames;

// An empty English text stays empty: gettext would answer the catalog header.
std::string Translated(const char* english) {
  return (english && *english) ? std::string(SvTr(english)) : std::string();
}

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

// The loaded text of the row at rows[index], or empty when row is not in rows.
template <class TRow>
const std::string& NameOf(std::span<const TRow> rows, const TRow& row,
                          const std::vector<std::string>* names) {
  if (!names || rows.empty() || &row < rows.data() || &row >= rows.data() + rows.size())
    return EmptyText();
  const auto index = static_cast<std::size_t>(&row - rows.data());
  return index < names->size() ? (*names)[index] : EmptyText();
}

bool IsEnd(const TSvLocaleData& row) {
  return row.Language[0] == '\0';
}

// The locale rows before the terminating row.
std::span<const TSvLocaleData> LocaleRows() {
  const std::span<const TSvLocaleData> all = LocaleTable();
  std::size_t n = 0;
  while (n < all.size() && !IsEnd(all[n]))
    ++n;
  return all.first(n);
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameTextAscii(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == '\0' || LowerAscii(a[i]) != LowerAscii(b[i]))
      return false;
  }
  return b[i] == '\0';
}

// Empty argument matches anything.
bool Fits(const std::string& argument, const char* field) {
  return argument.empty() || argument == field;
}

bool FitsScript(TSvScript argument, TSvScript field) {
  return argument == 0 || argument == field;
}

// The whole text as a decimal integer (optional sign), else 0.
int DecimalOrZero(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && *first == '-')
      return 0;
  }
  int value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || first == last)
    return 0;
  return value;
}

} // namespace

void LoadLocaleTableNames() {
  auto names = std::make_unique<TSvLocaleNames>();
  for (const TSvCodePageData& row : CodePageTable())
    names->CodePageDescriptions.push_back(Translated(row.Description));
  for (const TSvEncodingData& row : UnicodeEncodingTable())
    names->EncodingDescriptions.push_back(Translated(row.Description));
  for (const TSvLocaleData& row : LocaleTable()) {
    names->LanguageNames.push_back(Translated(row.LanguageName));
    names->CountryNames.push_back(Translated(row.CountryName));
    names->VariantNames.push_back(Translated(row.VariantName));
  }
  gNames = std::move(names);
}

void ReleaseLocaleTableNames() {
  gNames.reset();
}

const std::string& CodePageDescription(const TSvCodePageData& row) {
  return NameOf<TSvCodePageData>(CodePageTable(), row,
                                 gNames ? &gNames->CodePageDescriptions : nullptr);
}

const std::string& EncodingDescription(const TSvEncodingData& row) {
  return NameOf(UnicodeEncodingTable(), row, gNames ? &gNames->EncodingDescriptions : nullptr);
}

const std::string& LanguageNameOfRow(const TSvLocaleData& row) {
  return NameOf(LocaleTable(), row, gNames ? &gNames->LanguageNames : nullptr);
}

const std::string& CountryNameOfRow(const TSvLocaleData& row) {
  return NameOf(LocaleTable(), row, gNames ? &gNames->CountryNames : nullptr);
}

const std::string& VariantNameOfRow(const TSvLocaleData& row) {
  return NameOf(LocaleTable(), row, gNames ? &gNames->VariantNames : nullptr);
}

// Code pages and scripts

const TSvCodePageData* FindCodePage(int codePage) {
  if (codePage == 0)
    return nullptr;
  for (const TSvCodePageData& row : CodePageTable()) {
    if (row.CodePage == codePage)
      return &row;
  }
  return nullptr;
}

const TSvCodePageData* FindCodePageByName(const std::string& name) {
  if (name.empty())
    return nullptr;
  for (const TSvCodePageData& row : CodePageTable()) {
    if (name == row.Name)
      return &row;
  }
  return nullptr;
}

int CodePageOfName(const std::string& name) {
  const TSvCodePageData* row = FindCodePageByName(name);
  return row ? row->CodePage : 0;
}

TSvScript ScriptOfCodePage(int codePage) {
  const TSvCodePageData* row = FindCodePage(codePage);
  return row ? row->Script : 0;
}

namespace {

// The probes of the support flags, and by row the flags learned so far.
struct TSvSupportProbes {
  TSvCodePageProbe Installed = nullptr;
  TSvCodePageProbe Service = nullptr;
  std::vector<TSvCodePageSupport> Learned;
};

TSvSupportProbes& SupportProbes() {
  static TSvSupportProbes probes;
  return probes;
}

// Asks the probe of flag once for the row of codePage.
void Learn(int codePage, TSvCodePageSupportFlag flag) {
  TSvSupportProbes& probes = SupportProbes();
  const TSvCodePageProbe probe = flag == cpsInstalled ? probes.Installed : probes.Service;
  if (!probe)
    return;
  const std::span<TSvCodePageData> rows = CodePageTable();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].CodePage != codePage)
      continue;
    if (probes.Learned.size() != rows.size())
      probes.Learned.assign(rows.size(), 0);
    if (probes.Learned[i] & flag)
      return;
    probes.Learned[i] |= flag;
    if (probe(codePage))
      rows[i].Support |= flag;
    return;
  }
}

} // namespace

std::recursive_mutex& CodePageLock() {
  static std::recursive_mutex lock;
  return lock;
}

void SetCodePageSupportProbes(TSvCodePageProbe installed, TSvCodePageProbe service) {
  const std::lock_guard lock(CodePageLock());
  TSvSupportProbes& probes = SupportProbes();
  probes.Installed = installed;
  probes.Service = service;
  probes.Learned.clear();
}

TSvCodePageSupport CodePageSupport(int codePage) {
  const std::lock_guard lock(CodePageLock());
  const TSvCodePageData* row = FindCodePage(codePage);
  if (!row)
    return 0;
  Learn(codePage, cpsInstalled);
  Learn(codePage, cpsService);
  return row->Support;
}

bool IsServiceOnlyCodePage(int codePage) {
  const std::lock_guard lock(CodePageLock());
  const TSvCodePageData* row = FindCodePage(codePage);
  if (!row)
    return false;
  Learn(codePage, cpsInstalled);
  if (row->Support & cpsInstalled)
    return false;
  Learn(codePage, cpsService);
  return row->Support == cpsService;
}

void MarkCodePageSupport(int codePage, TSvCodePageSupportFlag flag) {
  const std::lock_guard lock(CodePageLock());
  // The row is found in the writable table itself, not through the const lookup.
  if (codePage == 0)
    return;
  for (TSvCodePageData& row : CodePageTable()) {
    if (row.CodePage == codePage) {
      row.Support |= flag;
      return;
    }
  }
}

int FirstCodePageOfScript(TSvScript script) {
  for (const TSvCodePageData& row : CodePageTable()) {
    if (row.Script == script)
      return row.CodePage;
  }
  return 1252;
}

bool HasWindowsCodePage(TSvScript script) {
  for (const TSvCodePageData& row : CodePageTable().first(kWindowsCodePageRows)) {
    if (row.Script == script)
      return true;
  }
  return false;
}

std::string ScriptAbbreviation(TSvScript script) {
  const std::span<const TSvScriptData> scripts = ScriptTable();
  return script < scripts.size() ? scripts[script].Abbreviation : std::string();
}

TSvScript ScriptOfAbbreviation(const std::string& text, TSvScript defaultScript) {
  const std::span<const TSvScriptData> scripts = ScriptTable();
  for (std::size_t i = 0; i < scripts.size(); ++i) {
    if (SameTextAscii(text, scripts[i].Abbreviation))
      return static_cast<TSvScript>(i);
  }
  return defaultScript;
}

int CharsetOfCodePage(int codePage) {
  for (const TSvCharsetCodePage& slot : CharsetCodePageTable()) {
    if (slot.CodePage != 0 && slot.CodePage == codePage)
      return slot.Charset;
  }
  return 1; // DEFAULT_CHARSET
}

int CharsetOfScript(TSvScript script) {
  return CharsetOfCodePage(FirstCodePageOfScript(script));
}

// Locales

const TSvLocaleData* FindLocale(const std::string& language, const std::string& country,
                                const std::string& variant, TSvScript script) {
  if (language.empty() && script == 0)
    return nullptr;
  for (const TSvLocaleData& row : LocaleRows()) {
    if (Fits(language, row.Language) && Fits(country, row.Country) && Fits(variant, row.Variant) &&
        FitsScript(script, row.Script))
      return &row;
  }
  return nullptr;
}

const TSvLocaleData* FindLocaleById(int primary, int sublanguage) {
  for (const TSvLocaleData& row : LocaleRows()) {
    if (row.PrimaryLanguage == primary && (sublanguage == 0 || row.SubLanguage == sublanguage))
      return &row;
  }
  return nullptr;
}

bool IsUnknownLanguageId(int primary, int sublanguage) {
  return FindLocaleById(primary, sublanguage) == nullptr;
}

TSvScript DefaultScriptOf(const std::string& language, const std::string& country,
                          const std::string& variant) {
  if (language.empty())
    return 1;
  const TSvLocaleData* row = FindLocale(language, country, variant, 0);
  if (!row)
    row = FindLocale(language, country, "", 0);
  if (!row)
    row = FindLocale(language, "", "", 0);
  return row ? row->Script : 1;
}

int DefaultAnsiCodePageOf(const std::string& language, TSvScript script, const std::string& country,
                          const std::string& variant) {
  const TSvLocaleData* row = FindLocale(language, country, variant, script);
  if (!row)
    row = FindLocale(language, country, "", script);
  if (!row)
    row = FindLocale(language, "", "", script);
  if (!row)
    return 0;
  return CodePageOfName(EncodingGroupTable()[row->Encodings][ekWindows]);
}

std::string LanguageCodeOf(int primary) {
  for (const TSvLocaleData& row : LocaleRows()) {
    if (row.PrimaryLanguage == primary)
      return row.Language;
  }
  return std::to_string(primary);
}

int PrimaryLanguageOf(const std::string& language) {
  for (const TSvLocaleData& row : LocaleRows()) {
    if (SameTextAscii(language, row.Language))
      return row.PrimaryLanguage;
  }
  return DecimalOrZero(language);
}

std::string CountryCodeOf(int primary, int sublanguage) {
  if (primary <= 0 || sublanguage == 0)
    return std::string();
  for (const TSvLocaleData& row : LocaleRows()) {
    if (row.PrimaryLanguage == primary && row.SubLanguage == sublanguage)
      return row.Country;
  }
  return std::to_string(sublanguage);
}

bool LocalePartsOf(int primary, int sublanguage, std::string& country, TSvScript& script,
                   std::string& variant) {
  if (primary <= 0 || sublanguage == 0)
    return false;
  for (const TSvLocaleData& row : LocaleRows()) {
    if (row.PrimaryLanguage == primary && row.SubLanguage == sublanguage) {
      country = row.Country;
      variant = row.Variant;
      script = row.Script;
      return true;
    }
  }
  return false;
}

int SubLanguageOf(const std::string& language, const std::string& country, int primary,
                  const std::string& variant, TSvScript script) {
  if (country.empty() && DefaultScriptOf(language, "", "") == script)
    return 0;
  for (const TSvLocaleData& row : LocaleRows()) {
    if (row.PrimaryLanguage == primary && Fits(language, row.Language) &&
        Fits(country, row.Country) && Fits(variant, row.Variant) && FitsScript(script, row.Script))
      return row.SubLanguage;
  }
  return DecimalOrZero(country);
}

std::uint16_t LanguageIdOf(const std::string& language, const std::string& country,
                           TSvScript script, const std::string& variant) {
  if (language.empty())
    return 0;
  const std::span<const TSvLocaleData> rows = LocaleRows();
  std::size_t i = 0;
  while (i < rows.size() && language != rows[i].Language)
    ++i;
  if (i == rows.size())
    return 0;
  const int primary = rows[i].PrimaryLanguage;
  int sublanguage = 0;
  for (; i < rows.size() && language == rows[i].Language; ++i) {
    if (country == rows[i].Country && variant == rows[i].Variant &&
        FitsScript(script, rows[i].Script)) {
      sublanguage = rows[i].SubLanguage;
      break;
    }
  }
  return static_cast<std::uint16_t>(primary + sublanguage * 1024);
}

std::string LanguageNameOf(const std::string& language, TSvScript script,
                           const std::string& variant) {
  for (const TSvLocaleData& row : LocaleRows()) {
    if (language == row.Language && FitsScript(script, row.Script) && Fits(variant, row.Variant))
      return LanguageNameOfRow(row);
  }
  return std::string();
}

std::string CountryNameOf(const std::string& language, const std::string& country,
                          TSvScript script) {
  for (const TSvLocaleData& row : LocaleRows()) {
    if (language == row.Language && country == row.Country && FitsScript(script, row.Script)) {
      const std::string& name = CountryNameOfRow(row);
      if (!name.empty())
        return name;
      break;
    }
  }
  // Not in the table: the platform's English name of the locale's country.
  return GetLocaleInfoA(LanguageIdOf(language, country, script, ""), LOCALE_SENGCOUNTRY);
}

} // namespace sv
