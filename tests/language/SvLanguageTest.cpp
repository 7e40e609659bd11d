#include "language/SvLanguage.h"
#include "language/SvFont.h"
#include "language/SvTest.h"
#include "locale/SvLocaleCodes.h"
#include "tests/language/SvLanguageRecord.h"
#include "tests/language/SvLanguageXml.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace sv;
using sv::test::DecodeRecord;
using sv::test::TLanguageRecord;

namespace {

std::vector<const TSvLocaleData*> Rows() {
  std::vector<const TSvLocaleData*> rows;
  for (const TSvLocaleData& row : LocaleTable()) {
    if (row.Language[0] != '\0')
      rows.push_back(&row);
  }
  return rows;
}

// A country code that begins with a blank is stored as empty (Tsonga's row).
bool HasBlankCountry(const TSvLocaleData& row) {
  return row.Country[0] == ' ';
}

TLanguageRecord RecordOf(const TSvLocaleData& row) {
  TLanguageRecord record;
  record.LanguageId = row.PrimaryLanguage;
  record.LanguageCode = row.Language;
  record.SublanguageId = row.SubLanguage;
  record.CountryCode = row.Country;
  record.CodePage = CodePageOfName(EncodingGroupTable()[row.Encodings][ekWindows]);
  return record;
}

// Counts the notifications of a language.
struct TChangeCounter {
  int Count = 0;
  void Attach(TSvProjectLanguage& language) {
    language.OnChange = [this](TSvObject&) { ++Count; };
  }
};

} // namespace

TEST(SvProjectLanguage, EveryRowGivesBackItsIdentifiersAndItsIdParsesBack) {
  for (const TSvLocaleData* row : Rows()) {
    const std::string code = LocaleCodeOf(row->Language, row->Country, row->Variant, row->Script);
    SCOPED_TRACE(code);
    TSvProjectLanguage language;
    language.SetId(code);
    EXPECT_EQ(language.GetLanguageCode(), row->Language);
    EXPECT_EQ(language.GetVariant(), row->Variant);
    EXPECT_EQ(language.GetScript(), row->Script);
    EXPECT_EQ(language.GetLanguageId(), row->PrimaryLanguage);
    if (HasBlankCountry(*row)) {
      // No country and the default script: no sublanguage.
      EXPECT_EQ(language.GetCountryCode(), "");
      EXPECT_EQ(language.GetSublanguageId(), 0);
      EXPECT_EQ(language.GetLocaleId(), row->PrimaryLanguage);
    } else {
      EXPECT_EQ(language.GetCountryCode(), row->Country);
      EXPECT_EQ(language.GetSublanguageId(), row->SubLanguage);
      EXPECT_EQ(language.GetLocaleId(), row->PrimaryLanguage + row->SubLanguage * 1024);
      EXPECT_EQ(language.GetNativeLocaleId(), language.GetLocaleId());
    }
    EXPECT_EQ(language.Font().GetScript(), row->Script);
    EXPECT_FALSE(language.Name.empty());
    EXPECT_FALSE(language.NativeName.empty());

    TSvProjectLanguage parsed;
    parsed.SetId(language.GetId());
    EXPECT_EQ(parsed.GetLanguageCode(), language.GetLanguageCode());
    EXPECT_EQ(parsed.GetCountryCode(), language.GetCountryCode());
    EXPECT_EQ(parsed.GetVariant(), language.GetVariant());
    EXPECT_EQ(parsed.GetScript(), language.GetScript());
    EXPECT_TRUE(parsed.IsEqual(language));
  }
}

TEST(SvProjectLanguage, ReaderSequenceKeepsEveryRowsCodes) {
  TSvProjectLanguage language;
  for (const TSvLocaleData* row : Rows()) {
    SCOPED_TRACE(std::string(row->Language) + "_" + row->Country);
    DecodeRecord(language, RecordOf(*row));
    EXPECT_EQ(language.GetLanguageCode(), row->Language);
    EXPECT_EQ(language.GetCountryCode(), HasBlankCountry(*row) ? "" : row->Country);
    EXPECT_EQ(language.GetLanguageId(), row->PrimaryLanguage);
    EXPECT_NE(language.GetScript(), 0);
    EXPECT_FALSE(language.GetDisplayName(0).empty());
    EXPECT_FALSE(language.GetId().empty());
    // The record stores no names: the remembered ones are those computed now.
    EXPECT_EQ(language.Name, language.GetEnglishName());
    EXPECT_EQ(language.NativeName, language.GetNativeName());
  }
}

TEST(SvProjectLanguage, ReaderSequenceWithEmptyCodesKeepsThemEmpty) {
  // A version 2 record stores NUL codes: the stored codes win over the numbers.
  TSvProjectLanguage language;
  for (const TSvLocaleData* row : Rows()) {
    SCOPED_TRACE(std::string(row->Language) + "_" + row->Country);
    TLanguageRecord record = RecordOf(*row);
    record.LanguageCode.clear();
    record.CountryCode.clear();
    language.Name.clear();
    language.NativeName.clear();
    DecodeRecord(language, record);
    EXPECT_EQ(language.GetLanguageCode(), "");
    EXPECT_EQ(language.GetCountryCode(), "");
    EXPECT_EQ(language.GetId(), "");
    EXPECT_EQ(language.GetDisplayName(0), "Native");
    EXPECT_EQ(language.NativeName, u"Native");
  }
}

TEST(SvProjectLanguage, RecordsWithIdentifiersOrCodesTheTableLacks) {
  TSvProjectLanguage language;
  TChangeCounter changes;
  changes.Attach(language);

  // Identifier 9 stores "en"; the code then finds it unchanged.
  TLanguageRecord english;
  english.LanguageId = 9;
  english.LanguageCode = "en";
  english.CodePage = 1252;
  english.Name = u"Stored";
  DecodeRecord(language, english);
  EXPECT_EQ(language.GetLanguageCode(), "en");
  EXPECT_EQ(language.GetLanguageId(), 9);
  EXPECT_EQ(language.ExplicitLanguageId(), 0);
  EXPECT_EQ(changes.Count, 0);
  EXPECT_EQ(language.GetDisplayName(0), "Stored");

  // Identifier 200 is in no row: kept as the explicit identifier.
  TLanguageRecord unknown;
  unknown.LanguageId = 200;
  unknown.SublanguageId = 3;
  language.Name.clear();
  language.NativeName.clear();
  DecodeRecord(language, unknown);
  EXPECT_EQ(language.GetLanguageId(), 200);
  EXPECT_EQ(language.GetSublanguageId(), 3);
  EXPECT_EQ(language.GetLanguageCode(), "");
  EXPECT_EQ(language.GetId(), "");
  EXPECT_EQ(language.GetDisplayName(0), "Native");
  EXPECT_EQ(language.GetLocaleId(), 200 + 3 * 1024);
  // Without a sublanguage the locale identifier comes from the (empty) codes, the
  // native one from the explicit identifier.
  language.SetSublanguageId(0);
  EXPECT_EQ(language.GetLocaleId(), 0);
  EXPECT_EQ(language.GetNativeLocaleId(), 200);

  // A code neither in the table nor a number, with identifier 0, is cleared.
  TLanguageRecord odd;
  odd.LanguageCode = "qq";
  odd.CountryCode = "QQ";
  DecodeRecord(language, odd);
  EXPECT_EQ(language.GetLanguageId(), 0);
  EXPECT_EQ(language.GetLanguageCode(), "");
  EXPECT_EQ(language.GetCountryCode(), "");
  EXPECT_EQ(language.ExplicitLanguageId(), 0);
  EXPECT_EQ(language.ExplicitSublanguageId(), 0);

  // Serbian's identifier stores the first code of its primary language, Croatian's.
  TLanguageRecord serbian;
  serbian.LanguageId = 0x1A;
  serbian.LanguageCode = "sr";
  serbian.SublanguageId = 2;
  serbian.CountryCode = "SP";
  serbian.CodePage = 1250;
  language.Name.clear();
  DecodeRecord(language, serbian);
  EXPECT_EQ(language.GetId(), "sr_SP.lat");
  EXPECT_EQ(language.GetDisplayName(0), "Serbian (Serbia and Montenegro)");
  EXPECT_EQ(language.GetEnglishName(), u"Serbian (Serbia and Montenegro)");
}

TEST(SvProjectLanguage, CodeSettersNormalizeNotifyAndRecomputeNamesOutsideAnUpdate) {
  TSvProjectLanguage language;
  TChangeCounter changes;
  changes.Attach(language);

  language.SetCountryCode("  ");
  EXPECT_EQ(language.GetCountryCode(), "");
  language.SetLanguageCode(" de");
  EXPECT_EQ(language.GetLanguageCode(), "");
  EXPECT_EQ(changes.Count, 0);

  language.SetLanguageCode("fr");
  EXPECT_EQ(changes.Count, 1);
  EXPECT_EQ(language.Name, u"French");
  language.SetCountryCode("CA");
  EXPECT_EQ(changes.Count, 2);
  EXPECT_EQ(language.Name, u"French (Canada)");
  language.SetCountryCode("CA");
  EXPECT_EQ(changes.Count, 2);

  // During an update only Changed fires; EndUpdate fills names still empty.
  language.Name = u"Kept";
  language.NativeName.clear();
  language.BeginUpdate();
  language.SetLanguageCode("de");
  language.SetCountryCode("AT");
  EXPECT_EQ(changes.Count, 4);
  EXPECT_EQ(language.Name, u"Kept");
  EXPECT_EQ(language.NativeName, u"");
  language.EndUpdate();
  EXPECT_EQ(language.Name, u"Kept");
  EXPECT_FALSE(language.NativeName.empty());

  // The script is not re-derived from a new code.
  language.SetId("ru");
  EXPECT_EQ(language.GetScript(), 3);
  language.SetLanguageCode("en");
  EXPECT_EQ(language.GetScript(), 3);
  // The locale record of the old code is not used for the new one.
  EXPECT_EQ(language.GetTableLanguageId(), 0);
  language.SetScript(1);
  EXPECT_EQ(language.GetTableLanguageId(), 9);
  language.SetLanguageCode("fr");
  EXPECT_EQ(language.GetTableLanguageId(), 0x0C);
}

TEST(SvProjectLanguage, IdentifierSettersStoreDirectly) {
  TSvProjectLanguage language;
  language.SetId("se_SE_LULE");
  const TSvScript script = language.GetScript();
  TChangeCounter changes;
  changes.Attach(language);
  language.Name = u"Name";
  language.NativeName = u"Native name";

  language.SetLanguageId(0x07);
  EXPECT_EQ(language.GetLanguageCode(), "de");
  language.SetSublanguageId(3);
  EXPECT_EQ(language.GetCountryCode(), "AT");
  // Variant and script stay; no name changes and no notification.
  EXPECT_EQ(language.GetVariant(), "LULE");
  EXPECT_EQ(language.GetScript(), script);
  EXPECT_EQ(language.Name, u"Name");
  EXPECT_EQ(language.NativeName, u"Native name");
  EXPECT_EQ(changes.Count, 0);

  // A sublanguage the table lacks for the language is kept explicitly; the country stays.
  language.SetSublanguageId(40);
  EXPECT_EQ(language.ExplicitSublanguageId(), 40);
  EXPECT_EQ(language.GetSublanguageId(), 40);
  EXPECT_EQ(language.GetCountryCode(), "AT");
  language.SetSublanguageId(0);
  EXPECT_EQ(language.GetCountryCode(), "");

  // Clear starts a record: names, font and test stay.
  language.Font().SetName(u"Arial");
  language.Test().SetTestType(ttCover);
  language.Clear();
  EXPECT_EQ(language.GetId(), "");
  EXPECT_EQ(language.ExplicitSublanguageId(), 0);
  EXPECT_EQ(language.Name, u"Name");
  EXPECT_EQ(language.NativeName, u"Native name");
  EXPECT_EQ(language.Font().GetName(), u"Arial");
  EXPECT_EQ(language.Test().TestType(), ttCover);
}

TEST(SvProjectLanguage, NamesAndLocaleIdentifiers) {
  TSvProjectLanguage taiwan;
  taiwan.SetId("zh_TW");
  EXPECT_EQ(taiwan.GetEnglishName(), u"Chinese, Traditional (Taiwan)");
  EXPECT_EQ(taiwan.Name, u"Chinese, Traditional (Taiwan)");

  // The native names are taken as the platform gives them, whatever the code page of
  // the language and of the system.
  TSvProjectLanguage russian;
  russian.SetId("ru_RU");
  EXPECT_EQ(russian.GetCodePage(), 1251);
  EXPECT_EQ(russian.NativeName, u"\u0440\u0443\u0441\u0441\u043A\u0438\u0439 "
                                u"(\u0420\u043E\u0441\u0441\u0438\u044F)");
  TSvProjectLanguage french;
  french.SetId("fr");
  EXPECT_EQ(french.NativeName, u"fran\u00E7ais");

  TSvProjectLanguage nynorsk;
  nynorsk.SetId("no__NYNORSK");
  EXPECT_EQ(nynorsk.GetSublanguageId(), 0);
  EXPECT_EQ(nynorsk.GetLocaleId(), 0x14);
  EXPECT_EQ(nynorsk.GetEffectiveLocaleId(), 0x0814);
  EXPECT_EQ(nynorsk.GetNativeLocaleId(), 0x0814);
  EXPECT_EQ(nynorsk.Name, u"Norwegian, Nynorsk");

  TSvProjectLanguage none;
  EXPECT_EQ(none.GetEnglishName(), u"Native");
  EXPECT_EQ(none.GetNativeName(), u"Native");
}

TEST(SvProjectLanguage, FontFollowsTheScriptAndStartsDefault) {
  TSvProjectLanguage language;
  // Creation looks at no installed font: the display font stands for its defaults.
  EXPECT_EQ(language.Font().GetPurpose(), fpDisplay);
  EXPECT_EQ(language.Font().GetName(), u"");
  EXPECT_EQ(language.Font().GetSize(), 0);
  EXPECT_TRUE(language.IsFontDefault());
  EXPECT_TRUE(language.Test().IsDefault());

  language.SetScript(3);
  EXPECT_EQ(language.Font().GetScript(), 3);
  language.SetId("ja");
  EXPECT_EQ(language.Font().GetScript(), 6);
  language.Font().SetSize(9);
  EXPECT_FALSE(language.IsFontDefault());
}

TEST(SvProjectLanguage, EqualityOrderAndAssign) {
  TSvProjectLanguage a;
  TSvProjectLanguage b;
  a.SetLanguageCode("de");
  b.SetLanguageCode("fr");
  a.Name = b.Name = u"Same";
  a.NativeName = b.NativeName = u"Same";
  // The language code takes no part.
  EXPECT_TRUE(a.IsEqual(b));
  b.SetCountryCode("FR");
  b.Name = a.Name;
  b.NativeName = a.NativeName;
  EXPECT_FALSE(a.IsEqual(b));
  EXPECT_FALSE(a.IsEqual(TSvLanguage("de")));

  // Assign copies codes, names, explicit identifiers, font and test.
  TSvProjectLanguage source;
  source.SetId("pt_BR");
  source.SetLanguageId(300);
  source.Font().SetName(u"Tahoma");
  source.Font().SetSize(8);
  source.Test().SetTestType(ttMinimum);
  TSvProjectLanguage copy;
  copy.Assign(source);
  EXPECT_TRUE(copy.IsEqual(source));
  EXPECT_EQ(copy.GetId(), "pt_BR");
  EXPECT_EQ(copy.GetLanguageId(), 300);
  EXPECT_EQ(copy.Font().GetName(), u"Tahoma");
  EXPECT_EQ(copy.Test().TestType(), ttMinimum);
  EXPECT_TRUE(SvClone(source)->IsEqual(source));
  EXPECT_THROW(copy.Assign(TSvLanguage("de")), ESvInvalidCast);
  EXPECT_THROW(copy.Compare(TSvLanguage("de")), ESvInvalidCast);

  // Sorted by English name, case-sensitive.
  TSvProjectLanguage german;
  german.SetId("de");
  TSvProjectLanguage english;
  english.SetId("en");
  EXPECT_GT(german.Compare(english), 0);
  EXPECT_LT(english.Compare(german), 0);
  TSvProjectLanguage lower;
  lower.Name = u"german";
  EXPECT_NE(german.Compare(lower), 0);
  lower.Name = german.Name;
  EXPECT_EQ(german.Compare(lower), 0);
}

TEST(SvProjectLanguage, XmlFormAndReadingBack) {
  TSvProjectLanguage language;
  language.SetId("de_AT");
  EXPECT_EQ(sv::test::WrittenXml(language), "<language id=\"de_AT\"/>\n");

  language.Test().SetTestType(ttPseudo);
  EXPECT_EQ(sv::test::WrittenXml(language),
            "<language id=\"de_AT\">\n  <test type=\"ttPseudo\"/>\n</language>\n");

  language.Font().SetName(u"Arial & Co");
  language.Font().SetSize(10);
  language.Test().SetExpansion(exFrom31To50, 5);
  EXPECT_EQ(sv::test::WrittenXml(language),
            "<language id=\"de_AT\" fontname=\"Arial &amp; Co\" fontsize=\"10\">\n"
            "  <test type=\"ttPseudo\" from31to50=\"5\"/>\n</language>\n");

  for (const char* id : {"de_AT", "sr_SP.lat", "no__NYNORSK", "zh_TW", ""}) {
    SCOPED_TRACE(id);
    TSvProjectLanguage written;
    written.SetId(id);
    written.Update();
    written.Font().SetName(u"Arial & Co");
    written.Font().SetSize(10);
    written.Test().SetTestType(ttCover);
    written.Test().SetOption(toEnclose, false);
    const auto document = sv::test::LintedDocument(written);
    TSvProjectLanguage read;
    read.ReadFromXml(*document, u"language");
    EXPECT_EQ(read.GetId(), id);
    EXPECT_TRUE(read.IsEqual(written));
  }

  // Only a whole font size survives: the attribute is an integer.
  TSvProjectLanguage half;
  half.SetId("de");
  half.Font().SetSize(10.5);
  TSvProjectLanguage read;
  read.ReadFromXml(*sv::test::LintedDocument(half), u"language");
  EXPECT_EQ(read.Font().GetSize(), 10);
  EXPECT_FALSE(read.IsEqual(half));

  // A size beyond 32 bits, which no document written here holds, is no size.
  for (const char* size : {"2147483648", "-2147483649", "8542907594597466113"}) {
    SCOPED_TRACE(size);
    TSvProjectLanguage large;
    large.ReadXmlElement(
        *ReadXmlBytes(std::string("<language fontname=\"A\" fontsize=\"") + size + "\"/>"));
    EXPECT_EQ(large.Font().GetSize(), 0);
  }
  TSvProjectLanguage largest;
  largest.ReadXmlElement(*ReadXmlBytes("<language fontname=\"A\" fontsize=\"2147483647\"/>"));
  EXPECT_EQ(largest.Font().GetSize(), 2147483647);

  // Without attributes: the defaults, and the test child's rules.
  TSvProjectLanguage bare;
  bare.Test().SetTestType(ttMinimum);
  bare.Test().SetOption(toEnclose, false);
  bare.ReadXmlElement(*ReadXmlBytes("<language><test enclose=\"yes\"/></language>"));
  EXPECT_EQ(bare.GetId(), "");
  EXPECT_TRUE(bare.IsFontDefault());
  EXPECT_EQ(bare.Test().TestType(), ttMinimum);
  EXPECT_TRUE(bare.Test().HasOption(toEnclose));
  EXPECT_EQ(bare.Name, u"Native");
}
