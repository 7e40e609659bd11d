#include "locale/SvLocaleTables.h"

#include <gtest/gtest.h>

#include <string>

namespace sv {
namespace {

const TSvLocaleData* Row(std::size_t index) {
  return &LocaleTable()[index];
}

TEST(SvCodePageLookup, FindsTheFirstRowByNumberOrExactName) {
  ASSERT_NE(FindCodePage(1252), nullptr);
  EXPECT_EQ(FindCodePage(1252), &CodePageTable()[0]);
  EXPECT_EQ(FindCodePage(0), nullptr);
  EXPECT_EQ(FindCodePage(12345), nullptr);
  EXPECT_EQ(FindCodePageByName("iso-2022-jp"), &CodePageTable()[25]);
  EXPECT_EQ(FindCodePageByName("ISO-2022-JP"), nullptr) << "names are case-sensitive";
  EXPECT_EQ(FindCodePageByName(""), nullptr);
  EXPECT_EQ(FindCodePageByName("unicode-escape"), nullptr);
  EXPECT_EQ(CodePageOfName("koi8-u"), 21866);
  EXPECT_EQ(CodePageOfName("no such"), 0);
  EXPECT_EQ(ScriptOfCodePage(1251), 3);
  EXPECT_EQ(ScriptOfCodePage(65001), 0);
  EXPECT_EQ(ScriptOfCodePage(4242), 0);
}

TEST(SvCodePageLookup, FirstCodePageOfScriptAndWindowsRows) {
  EXPECT_EQ(FirstCodePageOfScript(0), 65000); // UTF-7 is the first script-0 row
  EXPECT_EQ(FirstCodePageOfScript(1), 1252);
  EXPECT_EQ(FirstCodePageOfScript(3), 1251);
  EXPECT_EQ(FirstCodePageOfScript(15), 57002);
  EXPECT_EQ(FirstCodePageOfScript(11), 1252); // Armenian is in no row
  EXPECT_TRUE(HasWindowsCodePage(7));
  EXPECT_TRUE(HasWindowsCodePage(10));
  EXPECT_FALSE(HasWindowsCodePage(0));
  EXPECT_FALSE(HasWindowsCodePage(15)); // only ISCII rows
}

TEST(SvCodePageLookup, Charsets) {
  EXPECT_EQ(CharsetOfCodePage(1258), 163);
  EXPECT_EQ(CharsetOfCodePage(1252), 0);
  EXPECT_EQ(CharsetOfCodePage(1361), 130);
  EXPECT_EQ(CharsetOfCodePage(65001), 1);
  EXPECT_EQ(CharsetOfCodePage(0), 1) << "empty slots are no match";
  EXPECT_EQ(CharsetOfScript(6), 128);
  EXPECT_EQ(CharsetOfScript(4), 178);
  EXPECT_EQ(CharsetOfScript(0), 1);
  EXPECT_EQ(CharsetOfScript(11), 0); // falls back to 1252
}

TEST(SvCodePageLookup, ScriptAbbreviations) {
  EXPECT_EQ(ScriptAbbreviation(0), "def");
  EXPECT_EQ(ScriptAbbreviation(23), "guj");
  EXPECT_EQ(ScriptAbbreviation(24), "");
  EXPECT_EQ(ScriptAbbreviation(255), "");
  EXPECT_EQ(ScriptOfAbbreviation("CYR", 1), 3);
  EXPECT_EQ(ScriptOfAbbreviation("Tra", 0), 7);
  EXPECT_EQ(ScriptOfAbbreviation("xyz", 1), 1);
  EXPECT_EQ(ScriptOfAbbreviation("", 5), 5);
  EXPECT_EQ(ScriptOfAbbreviation("cy", 5), 5);
  EXPECT_EQ(ScriptOfAbbreviation("cyrx", 5), 5);
}

TEST(SvCodePageLookup, SupportFlags) {
  TSvCodePageData& row = CodePageTable()[CodePageTable().size() - 1];
  const TSvCodePageSupport saved = CodePageSupport(row.CodePage); // learned from here on
  row.Support = 0;
  EXPECT_FALSE(IsServiceOnlyCodePage(row.CodePage));
  MarkCodePageSupport(row.CodePage, cpsService);
  EXPECT_EQ(CodePageSupport(row.CodePage), cpsService);
  EXPECT_TRUE(IsServiceOnlyCodePage(row.CodePage));
  MarkCodePageSupport(row.CodePage, cpsInstalled);
  EXPECT_EQ(CodePageSupport(row.CodePage), cpsService | cpsInstalled);
  EXPECT_FALSE(IsServiceOnlyCodePage(row.CodePage));
  row.Support = saved;

  MarkCodePageSupport(4242, cpsInstalled); // ignored
  MarkCodePageSupport(0, cpsInstalled);
  EXPECT_EQ(CodePageSupport(4242), 0);
  EXPECT_FALSE(IsServiceOnlyCodePage(4242));
}

TEST(SvLocaleLookup, FindLocaleMatchesEmptyArgumentsAndTakesTheFirstRow) {
  EXPECT_EQ(FindLocale("", "", "", 0), nullptr);
  EXPECT_EQ(FindLocale("", "", "", 3), Row(31)); // bg-BG, the first Cyrillic row
  EXPECT_EQ(FindLocale("es", "ES", "", 0), Row(60));
  EXPECT_EQ(FindLocale("es", "ES", "MOD", 0), Row(62));
  EXPECT_EQ(FindLocale("no", "NO", "", 0), Row(96));
  EXPECT_EQ(FindLocale("sr", "SP", "", 0), Row(106));
  EXPECT_EQ(FindLocale("sr", "SP", "", 1), Row(107));
  EXPECT_EQ(FindLocale("", "BA", "", 0), nullptr);
  EXPECT_EQ(FindLocale("de", "", "", 0), Row(40));
  EXPECT_EQ(FindLocale("de", "XX", "", 0), nullptr);
  EXPECT_EQ(FindLocale("DE", "", "", 0), nullptr) << "codes are case-sensitive";
  EXPECT_EQ(FindLocale("", "", "", 11), Row(16));
  EXPECT_EQ(FindLocale("", "", "", 1), Row(32)); // ca-ES, the first Latin row
}

TEST(SvLocaleLookup, FindLocaleByIdAndUnknownIdentifiers) {
  EXPECT_EQ(FindLocaleById(0x07, 3), Row(42));
  EXPECT_EQ(FindLocaleById(0x07, 0), Row(40));
  EXPECT_EQ(FindLocaleById(0x1A, 0), Row(104));
  EXPECT_EQ(FindLocaleById(0x1A, 5), Row(110));
  EXPECT_EQ(FindLocaleById(0x07, 9), nullptr);
  EXPECT_EQ(FindLocaleById(-1, -1), nullptr) << "the terminating row is no match";
  EXPECT_EQ(FindLocaleById(-1, 0), nullptr);
  EXPECT_TRUE(IsUnknownLanguageId(0x55, 0));
  EXPECT_TRUE(IsUnknownLanguageId(0x12, 2));
  EXPECT_FALSE(IsUnknownLanguageId(0x12, 0));
  EXPECT_FALSE(IsUnknownLanguageId(0x3B, 9));
}

TEST(SvLocaleLookup, DefaultScriptFallsBackToLanguageAndLatin) {
  EXPECT_EQ(DefaultScriptOf("", "RU", ""), 1);
  EXPECT_EQ(DefaultScriptOf("xx", "", ""), 1);
  EXPECT_EQ(DefaultScriptOf("sr", "BA", ""), 3);
  EXPECT_EQ(DefaultScriptOf("sr", "", ""), 3);
  EXPECT_EQ(DefaultScriptOf("ja", "JP", ""), 6);
  EXPECT_EQ(DefaultScriptOf("ru", "XX", "YY"), 3); // both fallbacks
  EXPECT_EQ(DefaultScriptOf("zh", "TW", "YY"), 7); // country kept in the first fallback
}

TEST(SvLocaleLookup, DefaultAnsiCodePage) {
  EXPECT_EQ(DefaultAnsiCodePageOf("ru", 0, "RU", ""), 1251);
  EXPECT_EQ(DefaultAnsiCodePageOf("hy", 0, "AM", ""), 0);
  EXPECT_EQ(DefaultAnsiCodePageOf("sr", 1, "SP", ""), 1250);
  EXPECT_EQ(DefaultAnsiCodePageOf("sr", 0, "SP", ""), 1251);
  EXPECT_EQ(DefaultAnsiCodePageOf("zh", 0, "HK", "XX"), 950);
  EXPECT_EQ(DefaultAnsiCodePageOf("zh", 0, "XX", ""), 936);
  EXPECT_EQ(DefaultAnsiCodePageOf("as", 0, "IN", ""), 1252); // group 2 despite its script
  EXPECT_EQ(DefaultAnsiCodePageOf("xx", 0, "", ""), 0);
  EXPECT_EQ(DefaultAnsiCodePageOf("", 6, "", ""), 932);
  EXPECT_EQ(DefaultAnsiCodePageOf("", 0, "", ""), 0);
}

TEST(SvLocaleLookup, LanguageCodesAndPrimaryLanguagesAreInverse) {
  EXPECT_EQ(LanguageCodeOf(0x07), "de");
  EXPECT_EQ(LanguageCodeOf(0x1A), "hr"); // the first of hr, sr and bs
  EXPECT_EQ(LanguageCodeOf(0x55), "85");
  EXPECT_EQ(LanguageCodeOf(-1), "-1");
  EXPECT_EQ(PrimaryLanguageOf("85"), 85);
  EXPECT_EQ(PrimaryLanguageOf("DE"), 7);
  EXPECT_EQ(PrimaryLanguageOf("Kok"), 0x57);
  EXPECT_EQ(PrimaryLanguageOf("sr"), 0x1A);
  EXPECT_EQ(PrimaryLanguageOf(""), 0);
  EXPECT_EQ(PrimaryLanguageOf("xx"), 0);
  EXPECT_EQ(PrimaryLanguageOf("12a"), 0);
  EXPECT_EQ(PrimaryLanguageOf("99999999999"), 0);
  EXPECT_EQ(PrimaryLanguageOf("+-5"), 0);
  for (int primary : {1, 0x07, 0x55, 0x3FF, 0x1234})
    EXPECT_EQ(PrimaryLanguageOf(LanguageCodeOf(primary)), primary) << primary;
}

TEST(SvLocaleLookup, CountryCodesAndLocaleParts) {
  EXPECT_EQ(CountryCodeOf(9, 0), "");
  EXPECT_EQ(CountryCodeOf(0, 1), "");
  EXPECT_EQ(CountryCodeOf(-1, -1), "");
  EXPECT_EQ(CountryCodeOf(9, 99), "99");
  EXPECT_EQ(CountryCodeOf(9, 2), "GB");
  EXPECT_EQ(CountryCodeOf(0x31, 1), "  ");

  std::string country = "keep", variant = "keep";
  TSvScript script = 9;
  EXPECT_FALSE(LocalePartsOf(9, 0, country, script, variant));
  EXPECT_FALSE(LocalePartsOf(9, 99, country, script, variant));
  EXPECT_EQ(country, "keep");
  EXPECT_EQ(variant, "keep");
  EXPECT_EQ(script, 9);
  EXPECT_TRUE(LocalePartsOf(0x0A, 3, country, script, variant));
  EXPECT_EQ(country, "ES");
  EXPECT_EQ(variant, "MOD");
  EXPECT_EQ(script, 1);
  EXPECT_TRUE(LocalePartsOf(0x1A, 7, country, script, variant));
  EXPECT_EQ(country, "BA");
  EXPECT_EQ(variant, "");
  EXPECT_EQ(script, 3);
}

TEST(SvLocaleLookup, SubLanguageUndoesCountryCode) {
  EXPECT_EQ(SubLanguageOf("de", "", 7, "", 1), 0);    // neutral: the default script, no country
  EXPECT_EQ(SubLanguageOf("sr", "", 0x1A, "", 1), 2); // not the default script of sr
  EXPECT_EQ(SubLanguageOf("de", "AT", 7, "", 0), 3);
  EXPECT_EQ(SubLanguageOf("es", "ES", 0x0A, "", 0), 1);
  EXPECT_EQ(SubLanguageOf("es", "ES", 0x0A, "MOD", 0), 3);
  EXPECT_EQ(SubLanguageOf("sr", "SP", 0x1A, "", 1), 2);
  EXPECT_EQ(SubLanguageOf("sr", "SP", 0x1A, "", 0), 3);
  EXPECT_EQ(SubLanguageOf("hr", "BA", 0x1A, "", 0), 4);
  EXPECT_EQ(SubLanguageOf("en", "XX", 9, "", 0), 0);
  EXPECT_EQ(SubLanguageOf("en", "99", 9, "", 0), 99);
  EXPECT_EQ(SubLanguageOf("en", CountryCodeOf(9, 42), 9, "", 0), 42);
}

TEST(SvLocaleLookup, LanguageIdentifiers) {
  EXPECT_EQ(LanguageIdOf("sr", "SP", 1, ""), 0x081A);
  EXPECT_EQ(LanguageIdOf("sr", "SP", 0, ""), 0x0C1A);
  EXPECT_EQ(LanguageIdOf("sr", "XX", 0, ""), 0x001A);
  EXPECT_EQ(LanguageIdOf("sr", "BA", 1, ""), 0x181A);
  EXPECT_EQ(LanguageIdOf("es", "ES", 0, "MOD"), 0x0C0A);
  EXPECT_EQ(LanguageIdOf("es", "ES", 0, "XX"), 0x000A);
  EXPECT_EQ(LanguageIdOf("es", "", 0, ""), 0x000A) << "empty matches only empty";
  EXPECT_EQ(LanguageIdOf("", "", 0, ""), 0);
  EXPECT_EQ(LanguageIdOf("xx", "XX", 0, ""), 0);
  EXPECT_EQ(LanguageIdOf("SR", "SP", 0, ""), 0);
  EXPECT_EQ(LanguageIdOf("se", "FI", 0, "INARI"), 0x243B);
  EXPECT_EQ(LanguageIdOf("bs", "BA", 0, ""), 0x141A);
}

TEST(SvLocaleLookup, LanguageAndCountryNames) {
  EXPECT_EQ(LanguageNameOf("de", 0, ""), "German");
  EXPECT_EQ(LanguageNameOf("se", 0, "LULE"), "Sami");
  EXPECT_EQ(LanguageNameOf("bs", 1, ""), "Bosanski");
  EXPECT_EQ(LanguageNameOf("ja", 1, ""), "");
  EXPECT_EQ(LanguageNameOf("de", 0, "XX"), "");
  EXPECT_EQ(LanguageNameOf("", 0, ""), "");
  EXPECT_EQ(CountryNameOf("de", "AT", 0), "Austria");
  EXPECT_EQ(CountryNameOf("zh", "CN", 8), "People's Republic of China");
  EXPECT_EQ(CountryNameOf("sr", "BA", 1), "Bosnia and Herzegovina");
  EXPECT_EQ(CountryNameOf("de", "", 0), "");
  EXPECT_EQ(CountryNameOf("", "", 0), "");
  EXPECT_EQ(CountryNameOf("xx", "DE", 0), "");
}

TEST(SvLocaleLookup, CountryNameFallsBackToThePlatform) {
  // The Tsonga row has no country name; the platform names 0x0431's country.
  EXPECT_EQ(CountryNameOf("ts", "  ", 0), "South Africa");
  EXPECT_EQ(CountryNameOf("ts", "  ", 3), "") << "no row of that script: identifier 0x0031";
}

} // namespace
} // namespace sv
