#include "language/SvLanguage.h"

#include "language/SvFont.h"
#include "language/SvTest.h"
#include "locale/SvConvert.h"
#include "locale/SvLocaleCodes.h"
#include "locale/SvPlatformNls.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <tuple>
#include <utility>

namespace sv {

namespace {

// The names of project languages by everything they are computed from. Tables, the
// platform's answers and the system code page do not change during a run, while the
// computation scans the tables several times; the reader asks for the same names
// over and over.
struct TSvNameKey {
  std::string Language;
  std::string Country;
  std::string Variant;
  TSvScript Script;
  int LanguageId;
  int SublanguageId;
  bool operator<(const TSvNameKey& other) const {
    return std::tie(Language, Country, Variant, Script, LanguageId, SublanguageId) <
           std::tie(other.Language, other.Country, other.Variant, other.Script, other.LanguageId,
                    other.SublanguageId);
  }
};
using TSvNameCache = std::map<TSvNameKey, std::pair<std::u16string, std::u16string>>;

// Bounds the memory a file with many odd codes can take.
constexpr std::size_t kNameCacheLimit = 4096;

constinit std::unique_ptr<TSvNameCache> gNameCache;
// Readers on several threads share the cache.
std::mutex gNameCacheLock;

// The name of a project language without a language code.
constexpr const char16_t* kNoLanguageName = u"Native";

// A code whose first character is a blank counts as empty (Tsonga's country is "  ").
std::string NormalizedCode(const std::string& code) {
  return !code.empty() && code.front() == ' ' ? std::string() : code;
}

int MakeLangId(int primary, int sublanguage) {
  return (sublanguage << 10) | primary;
}

} // namespace

TSvProjectLanguage::TSvProjectLanguage()
    : FFont(std::make_unique<TPurposeFont>(fpDisplay)), FTest(std::make_unique<TSvTest>()) {}

TSvProjectLanguage::~TSvProjectLanguage() = default;

std::unique_ptr<TSvObject> TSvProjectLanguage::CreateNew() const {
  return std::make_unique<TSvProjectLanguage>();
}

void TSvProjectLanguage::Assign(const TSvPersistent& source) {
  TSvLanguage::Assign(source);
  const TSvProjectLanguage& language = SvCast<TSvProjectLanguage>(source);
  FCountryCode = language.FCountryCode;
  Name = language.Name;
  NativeName = language.NativeName;
  FExplicitLanguageId = language.FExplicitLanguageId;
  FExplicitSublanguageId = language.FExplicitSublanguageId;
  FFont->Assign(*language.FFont);
  FTest->Assign(*language.FTest);
}

bool TSvProjectLanguage::IsEqual(const TSvObject& other) const {
  const auto* language = dynamic_cast<const TSvProjectLanguage*>(&other);
  return language && FCountryCode == language->FCountryCode && Name == language->Name &&
         NativeName == language->NativeName &&
         FExplicitLanguageId == language->FExplicitLanguageId &&
         FExplicitSublanguageId == language->FExplicitSublanguageId &&
         FFont->IsEqual(*language->FFont) && FTest->IsEqual(*language->FTest);
}

int TSvProjectLanguage::Compare(const TSvObject& other) const {
  const TSvProjectLanguage& language = SvCast<TSvProjectLanguage>(other);
  const std::string a = WideToAnsi(Name, 0);
  const std::string b = WideToAnsi(language.Name, 0);
  const int result = CompareAnsiText(a, b, 0, false);
  if (result != -2)
    return result;
  // No collation for the user's locale: the bytes decide.
  const int bytes = a.compare(b);
  return bytes < 0 ? -1 : (bytes > 0 ? 1 : 0);
}

void TSvProjectLanguage::Clear() {
  TSvLanguage::Clear();
  Reset();
}

void TSvProjectLanguage::Reset() {
  FCountryCode.clear();
  FExplicitLanguageId = 0;
  FExplicitSublanguageId = 0;
}

TSvXmlStyle TSvProjectLanguage::GetXmlStyle() const {
  return FTest->IsDefault() ? xsEmpty : xsElements;
}

void TSvProjectLanguage::WriteXmlAttributes(TSvXmlAttributes& attributes) const {
  TSvLanguage::WriteXmlAttributes(attributes);
  attributes.SetString(u"id", AnsiToWide(GetId(), 0), u"");
  if (!IsFontDefault()) {
    attributes.SetString(u"fontname", FFont->GetName(), u"");
    attributes.SetInt64(u"fontsize", FFont->GetIntSize(), 0);
  }
}

void TSvProjectLanguage::WriteXmlContent(TSvXmlFile& file) const {
  TSvLanguage::WriteXmlContent(file);
  if (!FTest->IsDefault())
    FTest->WriteToXml(file, u"test");
}

void TSvProjectLanguage::ReadXmlElement(const TSvXmlElement& element) {
  const TSvXmlAttributes& attributes = element.Attributes();
  SetId(WideToAnsi(attributes.GetString(u"id", u""), 0));
  FFont->SetName(attributes.GetString(u"fontname", u""));
  // The size is written as a 32-bit integer; a value beyond that counts as no value,
  // so that what is read is what would be written.
  const std::int64_t size = attributes.GetInt64(u"fontsize", 0);
  FFont->SetSize(size >= INT32_MIN && size <= INT32_MAX ? static_cast<double>(size) : 0.0);
  Update();
  FTest->ReadFromXml(element, u"test");
}

void TSvProjectLanguage::SetLanguageCode(const std::string& code) {
  std::string normalized = NormalizedCode(code);
  if (normalized == FLanguageCode)
    return;
  FLanguageCode = std::move(normalized);
  // The record of the old code would answer for the new one.
  DropLocaleRecord();
  if (!Updating())
    UpdateNames(false);
  Changed();
}

void TSvProjectLanguage::SetCountryCode(const std::string& code) {
  std::string normalized = NormalizedCode(code);
  if (normalized == FCountryCode)
    return;
  FCountryCode = std::move(normalized);
  DropLocaleRecord();
  if (!Updating())
    UpdateNames(false);
  Changed();
}

void TSvProjectLanguage::SetScript(TSvScript script) {
  if (script == FScript)
    return;
  FScript = script;
  DropLocaleRecord();
  FFont->SetScript(script);
}

int TSvProjectLanguage::GetLanguageId() const {
  return FExplicitLanguageId != 0 ? FExplicitLanguageId : PrimaryLanguageOf(FLanguageCode);
}

void TSvProjectLanguage::SetLanguageId(int id) {
  if (IsUnknownLanguageId(id, 0)) {
    FExplicitLanguageId = id;
    return;
  }
  FLanguageCode = LanguageCodeOf(id);
  DropLocaleRecord();
}

int TSvProjectLanguage::GetSublanguageId() const {
  if (FExplicitSublanguageId != 0)
    return FExplicitSublanguageId;
  return SubLanguageOf(FLanguageCode, FCountryCode, GetLanguageId(), FVariant, FScript);
}

void TSvProjectLanguage::SetSublanguageId(int id) {
  const int language = GetLanguageId();
  if (IsUnknownLanguageId(language, id)) {
    FExplicitSublanguageId = id;
    return;
  }
  FCountryCode = CountryCodeOf(language, id);
  DropLocaleRecord();
}

void TSvProjectLanguage::Update() {
  TSvLanguage::Update();
  if (FScript == 0)
    SetScript(DefaultScriptOf(FLanguageCode, FCountryCode, FVariant));
  UpdateNames(true);
  FFont->SetScript(FScript);
}

std::string TSvProjectLanguage::GetDisplayName(int) const {
  return WideToAnsi(Name, 0);
}

std::u16string TSvProjectLanguage::GetEnglishName() const {
  if (FLanguageCode.empty())
    return kNoLanguageName;
  const std::u16string name =
      LocaleDisplayName(FLanguageCode, FCountryCode, FScript, true, {}, {}, {}, FVariant);
  // The name a user of the system code page sees: what it cannot hold is lost.
  return AnsiToWide(WideToAnsi(name, 0), 0);
}

int TSvProjectLanguage::GetNativeLocaleId() const {
  return FixLanguageId(static_cast<std::uint16_t>(MakeLangId(GetLanguageId(), GetSublanguageId())),
                       FLanguageCode, FCountryCode, FScript, FVariant);
}

std::u16string TSvProjectLanguage::GetNativeName() const {
  if (FLanguageCode.empty())
    return kNoLanguageName;
  const auto locale = static_cast<std::uint32_t>(GetNativeLocaleId());
  // Taken wide: narrowed to the system code page and widened from the language's
  // own, the name would come out garbled wherever the two differ.
  const std::u16string languageName = GetLocaleInfoW(locale, LOCALE_SNATIVELANGNAME);
  if (!FCountryCode.empty()) {
    const std::u16string countryName = GetLocaleInfoW(locale, LOCALE_SNATIVECTRYNAME);
    return LocaleDisplayName(FLanguageCode, FCountryCode, FScript, false, {}, countryName,
                             languageName, FVariant);
  }
  return LanguageDisplayName(FLanguageCode, FScript, std::string(), false, {}, languageName,
                             FVariant);
}

void TSvProjectLanguage::UpdateNames(bool onlyIfEmpty) {
  const bool english = !onlyIfEmpty || Name.empty();
  const bool native = !onlyIfEmpty || NativeName.empty();
  if (!english && !native)
    return;
  if (!gNameCache) {
    if (english)
      Name = GetEnglishName();
    if (native)
      NativeName = GetNativeName();
    return;
  }
  TSvNameKey key{FLanguageCode, FCountryCode,        FVariant,
                 FScript,       FExplicitLanguageId, FExplicitSublanguageId};
  std::pair<std::u16string, std::u16string> names;
  std::unique_lock lock(gNameCacheLock);
  if (const auto found = gNameCache->find(key); found != gNameCache->end()) {
    names = found->second;
  } else {
    lock.unlock(); // the names are computed outside the lock
    names = std::pair(GetEnglishName(), GetNativeName());
    lock.lock();
    if (gNameCache->size() >= kNameCacheLimit)
      gNameCache->clear();
    gNameCache->emplace(std::move(key), names);
  }
  lock.unlock();
  if (english)
    Name = std::move(names.first);
  if (native)
    NativeName = std::move(names.second);
}

void StartLanguageNames() {
  gNameCache = std::make_unique<TSvNameCache>();
}

void FinishLanguageNames() {
  gNameCache.reset();
}

bool TSvProjectLanguage::IsFontDefault() const {
  return FFont->GetName().empty() && FFont->GetSize() == 0;
}

} // namespace sv
