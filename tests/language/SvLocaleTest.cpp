#include "language/SvLocale.h"
#include "language/SvTest.h"
#include "locale/SvLocaleCodes.h"
#include "tests/language/SvLanguageXml.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace sv;

namespace {

// The locale rows before the terminating row.
std::vector<const TSvLocaleData*> Rows() {
  std::vector<const TSvLocaleData*> rows;
  for (const TSvLocaleData& row : LocaleTable()) {
    if (row.Language[0] != '\0')
      rows.push_back(&row);
  }
  return rows;
}

std::string RowCode(const TSvLocaleData& row) {
  return LocaleCodeOf(row.Language, row.Country, row.Variant, row.Script);
}

// A language whose SetVariant raises for the variant "BAD".
class TFailingLanguage : public TSvLanguage {
public:
  std::unique_ptr<TSvObject> CreateNew() const override {
    return std::make_unique<TFailingLanguage>();
  }
  void SetVariant(const std::string& variant) override {
    if (variant == "BAD")
      throw ESvError("bad variant");
    TSvLanguage::SetVariant(variant);
  }
};

} // namespace

TEST(SvCulture, AbstractOperationsRaiseAndLanguagesImplementThemAll) {
  TSvCulture culture;
  const std::vector<std::function<void(TSvCulture&)>> calls = {
      [](TSvCulture& c) { c.GetLanguageCode(); },
      [](TSvCulture& c) { c.SetLanguageCode("de"); },
      [](TSvCulture& c) { c.GetCountryCode(); },
      [](TSvCulture& c) { c.SetCountryCode("DE"); },
      [](TSvCulture& c) { c.GetVariant(); },
      [](TSvCulture& c) { c.SetVariant("MOD"); },
      [](TSvCulture& c) { c.GetScript(); },
      [](TSvCulture& c) { c.SetScript(1); },
      [](TSvCulture& c) { c.GetAbbreviation(); },
      [](TSvCulture& c) { c.SetAbbreviation("DE"); },
      [](TSvCulture& c) { c.GetDisplayName(0); },
      // Operations derived from the abstract values raise through them.
      [](TSvCulture& c) { c.GetId(); },
      [](TSvCulture& c) { c.GetLanguageId(); },
      [](TSvCulture& c) { c.Update(); },
  };
  TSvLanguage language;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    try {
      calls[i](culture);
      ADD_FAILURE() << "call " << i << " did not raise";
    } catch (const ESvAbstractError& error) {
      EXPECT_STREQ(error.what(), "Abstract Error");
    }
    EXPECT_NO_THROW(calls[i](language)) << "call " << i;
  }
}

TEST(SvLanguage, EmptyAndNumericCodes) {
  TSvLanguage empty;
  EXPECT_EQ(empty.GetId(), "");
  EXPECT_EQ(empty.GetLanguageId(), 0);
  EXPECT_EQ(empty.GetLocaleId(), 0);
  EXPECT_EQ(empty.GetCodePage(), 0);
  EXPECT_EQ(empty.GetCharset(), 1);
  EXPECT_EQ(empty.GetDefaultAbbreviation(), "");

  // A code that is no table code but a number is its own identifier.
  TSvLanguage language("de");
  language.SetLanguageCode("1033");
  EXPECT_EQ(language.GetLanguageId(), 1033);
  language.SetLanguageCode("de");
  language.SetLanguageId(1033);
  EXPECT_EQ(language.GetLanguageCode(), "1033");
  language.SetLanguageId(0x07);
  EXPECT_EQ(language.GetLanguageCode(), "de");
  // An equal identifier leaves the code as written, whatever its case.
  language.SetLanguageCode("DE");
  language.SetLanguageId(0x07);
  EXPECT_EQ(language.GetLanguageCode(), "DE");
  language.SetLanguageCode("xx");
  EXPECT_EQ(language.GetLanguageId(), 0);
}

TEST(SvLanguage, IdentifierStringsKeepNoCountry) {
  TSvLanguage austrian("de_AT");
  EXPECT_EQ(austrian.GetLanguageCode(), "de");
  EXPECT_EQ(austrian.GetCountryCode(), "");
  EXPECT_EQ(austrian.GetVariant(), "");
  EXPECT_EQ(austrian.GetId(), "de");
  austrian.SetCountryCode("AT");
  EXPECT_EQ(austrian.GetCountryCode(), "");

  // Three different locale identifiers of Nynorsk.
  TSvLanguage nynorsk("no__NYNORSK");
  EXPECT_EQ(nynorsk.GetLanguageCode(), "no");
  EXPECT_EQ(nynorsk.GetVariant(), "NYNORSK");
  EXPECT_EQ(nynorsk.GetId(), "no__NYNORSK");
  EXPECT_EQ(nynorsk.GetSublanguageId(), 0);
  EXPECT_EQ(nynorsk.GetLocaleId(), 0x14);
  EXPECT_EQ(nynorsk.GetEffectiveLocaleId(), 0x0814);

  TSvLanguage latin("sr_SP.lat");
  EXPECT_EQ(latin.GetScript(), 1);
  EXPECT_EQ(latin.GetId(), "sr.lat");
  // No script abbreviation: the table default of sr_SP, Cyrillic.
  TSvLanguage unknownScript("sr_SP.xyz");
  EXPECT_EQ(unknownScript.GetScript(), 3);
  EXPECT_EQ(unknownScript.GetId(), "sr");
  EXPECT_FALSE(unknownScript.IsEqual(latin));
}

TEST(SvLanguage, EveryRowRoundTripsThroughItsIdentifierString) {
  for (const TSvLocaleData* row : Rows()) {
    const TSvLanguage language(RowCode(*row));
    SCOPED_TRACE(RowCode(*row));
    EXPECT_EQ(language.GetLanguageCode(), row->Language);
    EXPECT_EQ(language.GetVariant(), row->Variant);
    EXPECT_EQ(language.GetScript(), row->Script);
    // Each language code has one primary language in the table.
    EXPECT_EQ(language.GetLanguageId(), row->PrimaryLanguage);
    EXPECT_FALSE(language.GetDisplayName(0).empty());

    const TSvLanguage again(language.GetId());
    EXPECT_TRUE(again.IsEqual(language)) << language.GetId();
  }
}

TEST(SvLanguage, ScriptFollowsTheLanguageCodeOnlyOutsideAnUpdate) {
  TSvLanguage language("ru");
  EXPECT_EQ(language.GetScript(), 3);
  language.SetLanguageCode("en");
  EXPECT_EQ(language.GetScript(), 1);
  language.SetLanguageCode("ja");
  EXPECT_EQ(language.GetScript(), 6);

  language.BeginUpdate();
  language.SetLanguageCode("ru");
  EXPECT_EQ(language.GetScript(), 6);
  language.EndUpdate();
  EXPECT_FALSE(language.Updating());
  // Update fills only an unset script.
  EXPECT_EQ(language.GetScript(), 6);
  language.SetScript(0);
  language.Update();
  EXPECT_EQ(language.GetScript(), 3);

  // Brackets do not nest.
  language.BeginUpdate();
  language.BeginUpdate();
  language.EndUpdate();
  EXPECT_FALSE(language.Updating());
}

TEST(SvCulture, SetIdEndsItsUpdateWhenASetterRaises) {
  TFailingLanguage language;
  EXPECT_THROW(language.SetId("de__BAD"), ESvError);
  EXPECT_FALSE(language.Updating());
  // Update ran: the script and abbreviation that the setters left unset are filled.
  EXPECT_EQ(language.GetLanguageCode(), "de");
  EXPECT_EQ(language.GetScript(), 1);
  EXPECT_EQ(language.GetAbbreviation(), "DE");
}

TEST(SvCulture, ChangedCallsOnChangeOnlyWhenAssigned) {
  TSvLanguage language;
  EXPECT_NO_THROW(language.Changed());
  std::vector<const TSvObject*> senders;
  language.OnChange = [&](TSvObject& sender) { senders.push_back(&sender); };
  language.Changed();
  ASSERT_EQ(senders.size(), 1u);
  EXPECT_EQ(senders[0], &language);
}

TEST(SvLanguage, SublanguageSetsScriptAndVariant) {
  TSvLanguage sami("se");
  sami.SetSublanguageId(4);
  EXPECT_EQ(sami.GetVariant(), "LULE");
  EXPECT_EQ(sami.GetScript(), 1);
  EXPECT_EQ(sami.GetCountryCode(), "");
  // The sublanguage it already has changes nothing.
  sami.SetSublanguageId(0);
  EXPECT_EQ(sami.GetVariant(), "LULE");
  // One the table does not hold for the language clears variant and script.
  sami.SetSublanguageId(63);
  EXPECT_EQ(sami.GetVariant(), "");
  EXPECT_EQ(sami.GetScript(), 0);

  TSvLanguage serbian("sr");
  serbian.SetSublanguageId(2);
  EXPECT_EQ(serbian.GetScript(), 1);
  EXPECT_EQ(serbian.GetId(), "sr.lat");
}

TEST(SvLanguage, AbbreviationCodePageAndCharset) {
  TSvLanguage german("de");
  EXPECT_EQ(german.GetAbbreviation(), "DE");
  german.SetAbbreviation("");
  german.Update();
  EXPECT_EQ(german.GetAbbreviation(), "DE");
  EXPECT_EQ(TSvLanguage("kok").GetAbbreviation(), "KN");
  EXPECT_EQ(TSvLanguage("rm").GetAbbreviation(), "");

  const TSvLanguage russian("ru");
  EXPECT_EQ(russian.GetCodePage(), 1251);
  EXPECT_EQ(russian.GetCharset(), 204);
  EXPECT_EQ(russian.GetTableLanguageId(), 0x19);
  const TSvLanguage japanese("ja");
  EXPECT_EQ(japanese.GetCodePage(), 932);
  EXPECT_EQ(japanese.GetCharset(), 128);
  // Hindi has no Windows code page: the platform's default charset.
  const TSvLanguage hindi("hi");
  EXPECT_EQ(hindi.GetCodePage(), 0);
  EXPECT_EQ(hindi.GetCharset(), 1);

  TSvLanguage language("de");
  language.SetCodePage(1253);
  EXPECT_EQ(language.GetScript(), 2);
  language.SetCodePage(12345);
  EXPECT_EQ(language.GetScript(), 0);
}

TEST(SvLanguage, DisplayNameIgnoresTheSelector) {
  const TSvLanguage serbian("sr");
  for (int selector : {0, 1, -7, 1000})
    EXPECT_EQ(serbian.GetDisplayName(selector), "Serbian, Cyrillic");
  EXPECT_EQ(TSvLanguage("ko__JOHAB").GetDisplayName(0), "Korean, JOHAB, Johab");
  EXPECT_EQ(TSvLanguage("de_AT").GetDisplayName(0), "German");
}

TEST(SvCulture, EqualityIsExactAndOrderIgnoresCase) {
  TSvLanguage lower("de");
  TSvLanguage upper;
  upper.SetLanguageCode("DE");
  upper.SetScript(1);
  EXPECT_FALSE(lower.IsEqual(upper));
  EXPECT_EQ(lower.Compare(upper), 0);
  EXPECT_LT(TSvLanguage("de").Compare(TSvLanguage("en")), 0);
  EXPECT_GT(TSvLanguage("sr.lat").Compare(TSvLanguage("sr")), 0);
  EXPECT_FALSE(TSvLanguage("sr").IsEqual(TSvLanguage("sr.lat")));
  EXPECT_FALSE(TSvLanguage("se__LULE").IsEqual(TSvLanguage("se__SKOLT")));
  EXPECT_TRUE(TSvLanguage("de").IsEqual(TSvLanguage("de_CH")));
  EXPECT_FALSE(lower.IsEqual(TSvTest()));
}

TEST(SvCulture, AssignCopiesTheValuesFromALanguageOnly) {
  TSvLanguage source("sr.lat");
  source.SetAbbreviation("XY");
  TSvLanguage copy("de");
  copy.Assign(source);
  EXPECT_TRUE(copy.IsEqual(source));
  EXPECT_EQ(copy.GetAbbreviation(), "XY");
  EXPECT_EQ(SvClone(source)->GetId(), "sr.lat");

  EXPECT_THROW(copy.Assign(TSvTest()), ESvInvalidCast);
  EXPECT_THROW(copy.Assign(TSvCulture()), ESvInvalidCast);
  copy.Clear();
  EXPECT_EQ(copy.GetId(), "");
  EXPECT_EQ(copy.GetAbbreviation(), "");
}

TEST(SvLanguage, WritesItselfAsALanguageElement) {
  EXPECT_EQ(sv::test::WrittenXml(TSvLanguage("de")), "<language>\n</language>\n");
  EXPECT_EQ(sv::test::WrittenXml(TSvCulture()), "<object>\n</object>\n");
}

TEST(SvSystemLanguages, ModuleObjectAndLibraryPath) {
  TSvSystemLanguages& languages = SystemLanguages();
  // The test program's own path with the extension ".svl".
  const std::string& path = languages.LanguageLibraryPath();
  const std::string suffix = "/sv_language_tests.svl";
  ASSERT_GE(path.size(), suffix.size());
  EXPECT_EQ(path.substr(path.size() - suffix.size()), suffix);
  EXPECT_FALSE(languages.Flag());
  EXPECT_EQ(languages.Text(), "");

  // Starts are counted: a second start makes no new object and its finish frees none.
  StartSystemLanguages();
  EXPECT_EQ(&SystemLanguages(), &languages);
  FinishSystemLanguages();
  EXPECT_EQ(&SystemLanguages(), &languages);

  EXPECT_EQ(ChangeFileExt("/usr/bin/SvqPeek", "svl"), "/usr/bin/SvqPeek.svl");
  EXPECT_EQ(ChangeFileExt("/opt/a.b/tool", "svl"), "/opt/a.b/tool.svl");
  EXPECT_EQ(ChangeFileExt("tool.exe", "svl"), "tool.svl");
  EXPECT_EQ(ChangeFileExt("tool.exe", ".svl"), "tool.svl");
  EXPECT_EQ(ChangeFileExt("", "svl"), ".svl");
}

TEST(SvSystemLanguages, SortSortsTheListAndEveryItemsOwnList) {
  TSvSystemLanguages languages;
  for (const char* id : {"fr", "de", "en"}) {
    auto language = std::make_unique<TSvSystemLanguage>(id);
    for (const char* inner : {"sv", "ru", "it"})
      language->Items().Items().Add(std::make_unique<TSvLanguage>(inner));
    languages.Items().Add(std::move(language));
  }
  // An item without a list of its own is sorted too.
  languages.Items().Add(std::make_unique<TSvLanguage>("da"));
  languages.Sort();

  std::vector<std::string> order;
  for (int i = 0; i < languages.Count(); ++i)
    order.push_back(dynamic_cast<TSvLanguage&>(languages.Items(i)).GetId());
  EXPECT_EQ(order, (std::vector<std::string>{"da", "de", "en", "fr"}));
  for (int i = 1; i < languages.Count(); ++i) {
    const TSvItems& inner = dynamic_cast<TSvSystemLanguage&>(languages.Items(i)).Items();
    std::vector<std::string> innerOrder;
    for (int j = 0; j < inner.Count(); ++j)
      innerOrder.push_back(dynamic_cast<TSvLanguage&>(inner.Items().Items(j)).GetId());
    EXPECT_EQ(innerOrder, (std::vector<std::string>{"it", "ru", "sv"}));
  }
  EXPECT_THROW(languages.Items(4), ESvRangeError);
}
