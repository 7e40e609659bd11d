// TSvProjectLanguage: one language of a translation project or dictionary, with its
// country, identifiers the locale table lacks, English and native names, display font
// and test settings.
#pragma once

#include "language/SvLocale.h"

#include <memory>
#include <string>

namespace sv {

class TPurposeFont;
class TSvTest;

class TSvProjectLanguage : public TSvLanguage {
public:
  // Empty, with a display font standing for its defaults and default test settings.
  TSvProjectLanguage();
  ~TSvProjectLanguage() override;

  std::unique_ptr<TSvObject> CreateNew() const override;
  // Source must be a project language; its codes, names, identifiers, font and test.
  void Assign(const TSvPersistent& source) override;
  // Country, names, explicit identifiers, font and test; not the language code,
  // variant or script.
  bool IsEqual(const TSvObject& other) const override;
  // The English names in the system code page, locale-aware and case-sensitive.
  int Compare(const TSvObject& other) const override;
  // Starts a new record: Name, NativeName, Font and Test are kept.
  void Clear() override;

  // An element with attributes only while the test settings are default.
  TSvXmlStyle GetXmlStyle() const override;
  // "id", then "fontname" and "fontsize" when the font is not default.
  void WriteXmlAttributes(TSvXmlAttributes& attributes) const override;
  // The test settings as the child "test" when they are not default.
  void WriteXmlContent(TSvXmlFile& file) const override;
  void ReadXmlElement(const TSvXmlElement& element) override;

  // A code beginning with a blank counts as empty. A real change recomputes both
  // names outside an update and fires Changed; the script is not re-derived.
  void SetLanguageCode(const std::string& code) override;
  const std::string& GetCountryCode() const override { return FCountryCode; }
  void SetCountryCode(const std::string& code) override;
  // The font's script follows.
  void SetScript(TSvScript script) override;
  // The explicit identifier when there is one, else the table's.
  int GetLanguageId() const override;
  // An identifier the table lacks is kept as the explicit identifier; any other
  // stores its code directly, without names or Changed.
  void SetLanguageId(int id) override;
  int GetSublanguageId() const override;
  // The same for the sublanguage and the country code.
  void SetSublanguageId(int id) override;
  // The culture's Update, the default script of the codes, the names still empty and
  // the font's script.
  void Update() override;
  // Name in the system code page; the selector is ignored.
  std::string GetDisplayName(int selector) const override;

  // Country code and explicit identifiers cleared.
  void Reset();

  // "Chinese, Traditional (Taiwan)"; "Native" without a language code.
  std::u16string GetEnglishName() const;
  // The language's own name for itself; "Native" without a language code.
  std::u16string GetNativeName() const;
  // The locale identifier whose native names GetNativeName asks for.
  int GetNativeLocaleId() const;
  // Name and NativeName from GetEnglishName and GetNativeName; with onlyIfEmpty
  // only those still empty.
  void UpdateNames(bool onlyIfEmpty);
  // The font has no name and size 0.
  bool IsFontDefault() const;

  TPurposeFont& Font() { return *FFont; }
  const TPurposeFont& Font() const { return *FFont; }
  TSvTest& Test() { return *FTest; }
  const TSvTest& Test() const { return *FTest; }

  int ExplicitLanguageId() const { return FExplicitLanguageId; }
  int ExplicitSublanguageId() const { return FExplicitSublanguageId; }

  // The English and the native display name; stored directly, without notification.
  std::u16string Name;
  std::u16string NativeName;
  void SetName(std::u16string name) { Name = std::move(name); }
  void SetNativeName(std::u16string name) { NativeName = std::move(name); }

private:
  std::string FCountryCode;
  std::unique_ptr<TPurposeFont> FFont;
  std::unique_ptr<TSvTest> FTest;
  int FExplicitLanguageId = 0;
  int FExplicitSublanguageId = 0;
};

// Module start and end: the names of project languages are remembered from start to
// end; without a start they are computed every time.
void StartLanguageNames();
void FinishLanguageNames();

} // namespace sv
