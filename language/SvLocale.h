// Cultures and languages: TSvCulture derives identifiers, code page, charset, names
// and its code string from a language code, a country code, a variant and a script;
// TSvLanguage stores them (without a country); TSvSystemLanguages is the process-wide
// list of the languages known to the system.
#pragma once

#include "core/SvClasses.h"
#include "locale/SvLocaleTables.h"
#include "xml/SvXmlObject.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace sv {

// A callable that receives the sending object; may be empty.
using TSvNotifyEvent = std::function<void(TSvObject& sender)>;

// The abstract base of every language object. It stores none of its four values:
// descendants supply them through the accessors, which raise ESvAbstractError here.
class TSvCulture : public TSvXmlObject {
public:
  TSvCulture();

  std::unique_ptr<TSvObject> CreateNew() const override;
  // Source must be a culture; copies the update flag and the cached locale record.
  void Assign(const TSvPersistent& source) override;
  // Same codes (case-sensitive) and script.
  bool IsEqual(const TSvObject& other) const override;
  // GetId of both, ignoring ASCII case.
  int Compare(const TSvObject& other) const override;
  void Clear() override;

  // The four values, in slot order with what derives from them.
  virtual const std::string& GetLanguageCode() const;
  virtual void SetLanguageCode(const std::string& code);
  // Re-derives the script from a new language code, unless an update is running.
  virtual void LanguageChanged();
  virtual const std::string& GetCountryCode() const;
  virtual void SetCountryCode(const std::string& code);
  virtual const std::string& GetVariant() const;
  virtual void SetVariant(const std::string& variant);
  virtual TSvScript GetScript() const;
  virtual void SetScript(TSvScript script);
  // The locale row's script, else the script of the locale's default ANSI code page.
  virtual TSvScript GetDefaultScript() const;
  virtual int GetLanguageId() const;
  virtual void SetLanguageId(int id);
  virtual int GetTableLanguageId() const;
  virtual int GetSublanguageId() const;
  virtual void SetSublanguageId(int id);
  virtual int GetTableSublanguageId() const;
  virtual const std::string& GetAbbreviation() const;
  virtual void SetAbbreviation(const std::string& abbreviation);
  virtual std::string GetDefaultAbbreviation() const;
  virtual int GetLocaleId() const;
  virtual int GetCodePage() const;
  virtual void SetCodePage(int codePage);
  virtual int GetCharset() const;
  // Fills what is still unset: the script, then the abbreviation.
  virtual void Update();
  // The selector is free for descendants; the languages ignore it.
  virtual std::string GetDisplayName(int selector) const;

  // Back to the empty state of a new culture: not updating, no cached record.
  void Reset();
  // Fires OnChange when one is assigned.
  void Changed();
  // Brackets do not nest: EndUpdate always ends the update and runs Update.
  void BeginUpdate() { FUpdating = true; }
  void EndUpdate();
  bool Updating() const { return FUpdating; }

  // The first locale row of the four values, looked up once until dropped; nullptr
  // when none fits. The row belongs to the locale table.
  const TSvLocaleData* LocaleRecord() const;
  void DropLocaleRecord();

  // GetLocaleId with the sublanguage that the variant or script implies when there
  // is no country.
  int GetEffectiveLocaleId() const;
  // The locale code string: de, de_AT, no__NYNORSK, sr_SP.lat.
  std::string GetId() const;
  // Parses a locale code string into the four values, then Update; nothing when id
  // equals GetId.
  void SetId(const std::string& id);

  TSvNotifyEvent OnChange;

private:
  bool FUpdating = false;
  mutable const TSvLocaleData* FLocaleRecord = nullptr;
  mutable bool FLocaleRecordValid = false;
};

// The concrete culture: language code, variant, script and abbreviation; no country.
class TSvLanguage : public TSvCulture {
public:
  TSvLanguage() = default;
  // The values of a locale code string; a country in it is not kept.
  explicit TSvLanguage(const std::string& id);

  std::unique_ptr<TSvObject> CreateNew() const override;
  void Assign(const TSvPersistent& source) override;
  void Clear() override;
  std::u16string GetXmlName() const override;

  const std::string& GetLanguageCode() const override { return FLanguageCode; }
  void SetLanguageCode(const std::string& code) override;
  // Always empty; a language has no country.
  const std::string& GetCountryCode() const override;
  void SetCountryCode(const std::string& code) override;
  const std::string& GetVariant() const override { return FVariant; }
  void SetVariant(const std::string& variant) override;
  TSvScript GetScript() const override { return FScript; }
  void SetScript(TSvScript script) override;
  const std::string& GetAbbreviation() const override { return FAbbreviation; }
  void SetAbbreviation(const std::string& abbreviation) override;
  // The first two letters of the locale row's abbreviation: "DE" for "DEU".
  std::string GetDefaultAbbreviation() const override;
  // "Serbian, Cyrillic" in the system code page; the selector is ignored.
  std::string GetDisplayName(int selector) const override;

  // Empties the language's own values.
  void Reset();

protected:
  std::string FLanguageCode;
  TSvScript FScript = 0;
  std::string FVariant;
  std::string FAbbreviation;
};

// A system language: a language with a collection of its own, sorted with the list.
class TSvSystemLanguage : public TSvLanguage {
public:
  using TSvLanguage::TSvLanguage;

  std::unique_ptr<TSvObject> CreateNew() const override;
  void Assign(const TSvPersistent& source) override;

  TSvItems& Items() { return FItems; }
  const TSvItems& Items() const { return FItems; }

private:
  TSvItems FItems;
};

// The languages known to the system. Sort sorts the list, then every item's own list.
class TSvSystemLanguages : public TSvItems {
public:
  TSvSystemLanguages();

  std::unique_ptr<TSvObject> CreateNew() const override;
  void Sort() override;

  using TSvItems::Items;
  // The item at index; ESvRangeError outside the list.
  TSvObject& Items(int index) const { return TSvItems::Items().Items(index); }

  bool Flag() const { return FFlag; }
  void SetFlag(bool flag) { FFlag = flag; }
  const std::string& Text() const { return FText; }
  void SetText(std::string text) { FText = std::move(text); }
  // The program's path with the extension ".svl".
  const std::string& LanguageLibraryPath() const;

private:
  bool FFlag = false;
  std::string FText;
  mutable std::string FLanguageLibraryPath; // made when first asked, not at start
};

// path with its extension (from the last "." of the file name) replaced by extension,
// which gets a leading "." when it has none.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

// The process-wide system languages; ESvAssertionError before the module started.
TSvSystemLanguages& SystemLanguages();
// Module start and end, counted: only the first start creates the list and only the
// matching last finish frees it.
void StartSystemLanguages();
void FinishSystemLanguages();

} // namespace sv
