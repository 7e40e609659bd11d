#include "language/SvLocale.h"

#include "locale/SvConvert.h"
#include "locale/SvLocaleCodes.h"
#include "text/SvTextUtils.h"

#include <algorithm>

namespace sv {

namespace {

const std::string& EmptyCode() {
  static const std::string empty;
  return empty;
}

[[noreturn]] void AbstractCall() {
  throw ESvAbstractError(kAbstractErrorMessage);
}

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Ordinal comparison of the texts with ASCII letters upper-cased.
int CompareTextAscii(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(UpperAscii(a[i]));
    const auto y = static_cast<unsigned char>(UpperAscii(b[i]));
    if (x != y)
      return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int MakeLangId(int primary, int sublanguage) {
  return (sublanguage << 10) | primary;
}

} // namespace

// ---- TSvCulture ----

TSvCulture::TSvCulture() {
  Reset();
}

std::unique_ptr<TSvObject> TSvCulture::CreateNew() const {
  return std::make_unique<TSvCulture>();
}

void TSvCulture::Assign(const TSvPersistent& source) {
  TSvXmlObject::Assign(source);
  const TSvCulture& culture = SvCast<TSvCulture>(source);
  FUpdating = culture.FUpdating;
  FLocaleRecord = culture.FLocaleRecord;
  FLocaleRecordValid = culture.FLocaleRecordValid;
}

bool TSvCulture::IsEqual(const TSvObject& other) const {
  if (!TSvXmlObject::IsEqual(other))
    return false;
  const auto* culture = dynamic_cast<const TSvCulture*>(&other);
  return culture && GetLanguageCode() == culture->GetLanguageCode() &&
         GetCountryCode() == culture->GetCountryCode() && GetVariant() == culture->GetVariant() &&
         GetScript() == culture->GetScript();
}

int TSvCulture::Compare(const TSvObject& other) const {
  return CompareTextAscii(GetId(), SvCast<TSvCulture>(other).GetId());
}

void TSvCulture::Clear() {
  Reset();
}

const std::string& TSvCulture::GetLanguageCode() const {
  AbstractCall();
}

void TSvCulture::SetLanguageCode(const std::string&) {
  AbstractCall();
}

void TSvCulture::LanguageChanged() {
  if (FUpdating)
    return;
  // The record of the old code must not decide the new code's script.
  DropLocaleRecord();
  SetScript(GetDefaultScript());
  DropLocaleRecord();
}

const std::string& TSvCulture::GetCountryCode() const {
  AbstractCall();
}

void TSvCulture::SetCountryCode(const std::string&) {
  AbstractCall();
}

const std::string& TSvCulture::GetVariant() const {
  AbstractCall();
}

void TSvCulture::SetVariant(const std::string&) {
  AbstractCall();
}

TSvScript TSvCulture::GetScript() const {
  AbstractCall();
}

void TSvCulture::SetScript(TSvScript) {
  AbstractCall();
}

TSvScript TSvCulture::GetDefaultScript() const {
  if (const TSvLocaleData* row = LocaleRecord())
    return row->Script;
  const int codePage =
      DefaultAnsiCodePageOfLocale(static_cast<std::uint32_t>(GetEffectiveLocaleId()));
  return ScriptOfCodePage(codePage);
}

int TSvCulture::GetLanguageId() const {
  return PrimaryLanguageOf(GetLanguageCode());
}

void TSvCulture::SetLanguageId(int id) {
  if (id == GetLanguageId())
    return;
  SetLanguageCode(LanguageCodeOf(id));
}

int TSvCulture::GetTableLanguageId() const {
  const TSvLocaleData* row = LocaleRecord();
  return row ? row->PrimaryLanguage : 0;
}

int TSvCulture::GetSublanguageId() const {
  return TSvCulture::GetTableSublanguageId();
}

void TSvCulture::SetSublanguageId(int id) {
  if (id == GetSublanguageId())
    return;
  std::string country;
  TSvScript script = 0;
  std::string variant;
  LocalePartsOf(GetLanguageId(), id, country, script, variant);
  SetScript(script);
  SetCountryCode(country);
  SetVariant(variant);
}

int TSvCulture::GetTableSublanguageId() const {
  return SubLanguageOf(GetLanguageCode(), GetCountryCode(), GetLanguageId(), GetVariant(),
                       GetScript());
}

const std::string& TSvCulture::GetAbbreviation() const {
  AbstractCall();
}

void TSvCulture::SetAbbreviation(const std::string&) {
  AbstractCall();
}

std::string TSvCulture::GetDefaultAbbreviation() const {
  const TSvLocaleData* row = LocaleRecord();
  return row ? std::string(row->Abbreviation) : std::string();
}

int TSvCulture::GetLocaleId() const {
  const int primary = GetLanguageId();
  const int sublanguage = GetSublanguageId();
  if (primary != 0 && sublanguage != 0)
    return MakeLangId(primary, sublanguage);
  return LanguageIdOf(GetLanguageCode(), GetCountryCode(), GetScript(), GetVariant());
}

int TSvCulture::GetCodePage() const {
  return DefaultAnsiCodePageOf(GetLanguageCode(), GetScript(), GetCountryCode(), GetVariant());
}

void TSvCulture::SetCodePage(int codePage) {
  SetScript(ScriptOfCodePage(codePage));
}

int TSvCulture::GetCharset() const {
  return CharsetOfCodePage(GetCodePage());
}

void TSvCulture::Update() {
  if (GetScript() == 0)
    SetScript(GetDefaultScript());
  if (GetAbbreviation().empty())
    SetAbbreviation(GetDefaultAbbreviation());
}

std::string TSvCulture::GetDisplayName(int) const {
  AbstractCall();
}

void TSvCulture::Reset() {
  FUpdating = false;
  DropLocaleRecord();
}

void TSvCulture::Changed() {
  if (OnChange)
    OnChange(*this);
}

void TSvCulture::EndUpdate() {
  FUpdating = false;
  Update();
}

const TSvLocaleData* TSvCulture::LocaleRecord() const {
  if (!FLocaleRecordValid) {
    FLocaleRecord = FindLocale(GetLanguageCode(), GetCountryCode(), GetVariant(), GetScript());
    FLocaleRecordValid = true;
  }
  return FLocaleRecord;
}

void TSvCulture::DropLocaleRecord() {
  FLocaleRecord = nullptr;
  FLocaleRecordValid = false;
}

int TSvCulture::GetEffectiveLocaleId() const {
  return FixLanguageId(static_cast<std::uint16_t>(GetLocaleId()), GetLanguageCode(),
                       GetCountryCode(), GetScript(), GetVariant());
}

std::string TSvCulture::GetId() const {
  return LocaleCodeOf(GetLanguageCode(), GetCountryCode(), GetVariant(), GetScript());
}

void TSvCulture::SetId(const std::string& id) {
  if (id == GetId())
    return;
  const TSvLocaleParts parts = ParseLocaleCode(id);
  BeginUpdate();
  try {
    SetLanguageCode(parts.Language);
    SetCountryCode(parts.Country);
    SetVariant(parts.Variant);
    SetScript(parts.Script);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---- TSvLanguage ----

TSvLanguage::TSvLanguage(const std::string& id) {
  SetId(id);
}

std::unique_ptr<TSvObject> TSvLanguage::CreateNew() const {
  return std::make_unique<TSvLanguage>();
}

void TSvLanguage::Assign(const TSvPersistent& source) {
  TSvCulture::Assign(source);
  const TSvLanguage& language = SvCast<TSvLanguage>(source);
  FLanguageCode = language.FLanguageCode;
  FScript = language.FScript;
  FVariant = language.FVariant;
  FAbbreviation = language.FAbbreviation;
}

void TSvLanguage::Clear() {
  TSvCulture::Clear();
  Reset();
}

std::u16string TSvLanguage::GetXmlName() const {
  return u"language";
}

void TSvLanguage::SetLanguageCode(const std::string& code) {
  if (code == FLanguageCode)
    return;
  FLanguageCode = code;
  LanguageChanged();
}

const std::string& TSvLanguage::GetCountryCode() const {
  return EmptyCode();
}

void TSvLanguage::SetCountryCode(const std::string&) {}

void TSvLanguage::SetVariant(const std::string& variant) {
  if (variant == FVariant)
    return;
  FVariant = variant;
  DropLocaleRecord();
}

void TSvLanguage::SetScript(TSvScript script) {
  if (script == FScript)
    return;
  FScript = script;
  DropLocaleRecord();
}

void TSvLanguage::SetAbbreviation(const std::string& abbreviation) {
  FAbbreviation = abbreviation;
}

std::string TSvLanguage::GetDefaultAbbreviation() const {
  std::string abbreviation = TSvCulture::GetDefaultAbbreviation();
  if (abbreviation.size() > 2)
    abbreviation.resize(2);
  return abbreviation;
}

std::string TSvLanguage::GetDisplayName(int) const {
  return WideToAnsi(LanguageDisplayName(FLanguageCode, FScript, std::string(), true,
                                        std::u16string(), std::u16string(), FVariant),
                    0);
}

void TSvLanguage::Reset() {
  FLanguageCode.clear();
  FVariant.clear();
  FAbbreviation.clear();
  FScript = 0;
}

// ---- TSvSystemLanguage ----

std::unique_ptr<TSvObject> TSvSystemLanguage::CreateNew() const {
  return std::make_unique<TSvSystemLanguage>();
}

void TSvSystemLanguage::Assign(const TSvPersistent& source) {
  TSvLanguage::Assign(source);
  FItems.Assign(SvCast<TSvSystemLanguage>(source).FItems);
}

// ---- TSvSystemLanguages ----

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? path.substr(0, dot) : path) + EnsureLeadingDot(extension);
}

TSvSystemLanguages::TSvSystemLanguages() = default;

const std::string& TSvSystemLanguages::LanguageLibraryPath() const {
  if (FLanguageLibraryPath.empty())
    FLanguageLibraryPath = ChangeFileExt(ProgramPath(), "svl");
  return FLanguageLibraryPath;
}

std::unique_ptr<TSvObject> TSvSystemLanguages::CreateNew() const {
  return std::make_unique<TSvSystemLanguages>();
}

void TSvSystemLanguages::Sort() {
  TSvItems::Sort();
  const TSvObjectList& items = TSvItems::Items();
  for (int i = 0; i < items.Count(); ++i) {
    if (auto* language = dynamic_cast<TSvSystemLanguage*>(&items.Items(i)))
      language->Items().Sort();
  }
}

namespace {

constinit std::unique_ptr<TSvSystemLanguages> gSystemLanguages;
constinit int gSystemLanguagesStarts = 0;

} // namespace

TSvSystemLanguages& SystemLanguages() {
  if (!gSystemLanguages)
    throw ESvAssertionError("The system languages are not started");
  return *gSystemLanguages;
}

void StartSystemLanguages() {
  if (gSystemLanguagesStarts++ == 0)
    gSystemLanguages = std::make_unique<TSvSystemLanguages>();
}

void FinishSystemLanguages() {
  if (gSystemLanguagesStarts > 0 && --gSystemLanguagesStarts == 0)
    gSystemLanguages.reset();
}

} // namespace sv
