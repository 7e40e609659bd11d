#include "locale/SvLocaleCodes.h"

#include <gtest/gtest.h>

using namespace sv;

namespace {

void ExpectParts(const TSvLocaleParts& parts, const char* language, const char* country,
                 const char* variant, TSvScript script) {
  EXPECT_EQ(parts.Language, language);
  EXPECT_EQ(parts.Country, country);
  EXPECT_EQ(parts.Variant, variant);
  EXPECT_EQ(parts.Script, script);
}

} // namespace

TEST(SvLocaleCodes, FormatAndSplit) {
  EXPECT_EQ(FormatLocaleCode("de", "DE", "", '_'), "de_DE");
  EXPECT_EQ(FormatLocaleCode("no", "NO", "NYNORSK", '_'), "no_NO_NYNORSK");
  EXPECT_EQ(FormatLocaleCode("se", "", "INARI", '_'), "se__INARI");
  EXPECT_EQ(FormatLocaleCode("ts", "  ", "", '_'), "ts");
  EXPECT_EQ(FormatLocaleCode("ts", "  ", "X", '-'), "ts--X");
  EXPECT_EQ(FormatLocaleCode("en", "", "", '_'), "en");
  EXPECT_EQ(FormatLocaleCode("", "", "", '_'), "");

  ExpectParts(SplitLocaleCode("se__INARI", '_'), "se", "", "INARI", 0);
  ExpectParts(SplitLocaleCode("en", '_'), "en", "", "", 0);
  ExpectParts(SplitLocaleCode("no_NO_NYNORSK_X", '_'), "no", "NO", "NYNORSK", 0);
  ExpectParts(SplitLocaleCode("", '_'), "", "", "", 0);
}

TEST(SvLocaleCodes, CodeStringsWriteOnlyANonDefaultScript) {
  EXPECT_EQ(LocaleCodeOf("sr", "SP", "", 1), "sr_SP.lat");
  EXPECT_EQ(LocaleCodeOf("sr", "SP", "", 3), "sr_SP");
  EXPECT_EQ(LocaleCodeOf("de", "DE", "", 1), "de_DE");
  EXPECT_EQ(LocaleCodeOf("de", "DE", "", 0), "de_DE");
  EXPECT_EQ(LocaleCodeOf("uz", "UZ", "", 3), "uz_UZ.cyr");
  EXPECT_EQ(LocaleCodeOf("se", "", "INARI", 1), "se__INARI");
  EXPECT_EQ(LocaleCodeOf("", "", "", 3), "");

  ExpectParts(ParseLocaleCode("sr_SP.lat"), "sr", "SP", "", 1);
  ExpectParts(ParseLocaleCode("sr_SP"), "sr", "SP", "", 3);
  ExpectParts(ParseLocaleCode("de_DE.xyz"), "de", "DE", "", 1);
  ExpectParts(ParseLocaleCode("sr_SP.CYR"), "sr", "SP", "", 3);
  ExpectParts(ParseLocaleCode("no_NO_NYNORSK"), "no", "NO", "NYNORSK", 1);
  // Every code string parses back to its parts.
  for (TSvScript script : {1, 3}) {
    const TSvLocaleParts parts = ParseLocaleCode(LocaleCodeOf("sr", "SP", "", script));
    EXPECT_EQ(parts.Script, script);
  }
  EXPECT_EQ(DefaultScriptOfCode("sr_SP"), 3);
  EXPECT_EQ(DefaultScriptOfCode("ja_JP"), 6);
  EXPECT_EQ(DefaultScriptOfCode("xx"), 1);
}

TEST(SvLocaleCodes, FixLanguageId) {
  EXPECT_EQ(FixLanguageId(0x0409, "en", "US", 1, ""), 0x0409);
  EXPECT_EQ(FixLanguageId(0x0C1A, "sr", "SP", 1, ""), 0x0C1A); // a country keeps the id
  EXPECT_EQ(FixLanguageId(0, "zh", "", 7, ""), 0x0404);
  EXPECT_EQ(FixLanguageId(0, "zh", "", 8, ""), 0x0804);
  EXPECT_EQ(FixLanguageId(0, "se", "", 1, "INARI"), 0x243B);
  EXPECT_EQ(FixLanguageId(0, "se", "", 1, "LULE"), 0x103B);
  EXPECT_EQ(FixLanguageId(0, "se", "", 1, "inari"), 0x243B); // any other variant: 9
  EXPECT_EQ(FixLanguageId(0, "se", "", 1, "NORTHERN"), 0x043B);
  EXPECT_EQ(FixLanguageId(0, "es", "", 1, ""), 0x000A);
  EXPECT_EQ(FixLanguageId(0, "es", "", 1, "MOD"), 0x0C0A);
  EXPECT_EQ(FixLanguageId(0, "no", "", 1, "NYNORSK"), 0x0814);
  EXPECT_EQ(FixLanguageId(0, "sr", "", 1, ""), 0x081A);
  EXPECT_EQ(FixLanguageId(0, "sr", "", 3, ""), 0x0C1A);
  EXPECT_EQ(FixLanguageId(0, "bs", "", 1, ""), 0x141A);
  EXPECT_EQ(FixLanguageId(0, "az", "", 3, ""), 0x082C);
  EXPECT_EQ(FixLanguageId(0, "uz", "", 1, ""), 0x0443);
  EXPECT_EQ(FixLanguageId(0x0007, "de", "", 1, ""), 0x0007);
  EXPECT_EQ(FixLanguageId(0x0007, "ZH", "", 7, ""), 0x0007); // codes compare case-sensitively
}

TEST(SvLocaleCodes, LanguageDisplayNames) {
  EXPECT_EQ(LanguageDisplayName("sr", 3, "", true, u"", u"", ""), u"Serbian, Cyrillic");
  EXPECT_EQ(LanguageDisplayName("sr", 1, "", true, u"", u"", ""), u"Serbian, Latin");
  EXPECT_EQ(LanguageDisplayName("sr", 1, "", false, u"", u"", ""), u"Serbian");
  EXPECT_EQ(LanguageDisplayName("ko", 9, "", true, u"", u"", "JOHAB"), u"Korean, JOHAB, Johab");
  EXPECT_EQ(LanguageDisplayName("ko", 9, "", true, u"Johab set", u"", "JOHAB"),
            u"Korean, Johab set, Johab");
  EXPECT_EQ(LanguageDisplayName("zh", 8, "", true, u"", u"", ""), u"Chinese, Simplified");
  EXPECT_EQ(LanguageDisplayName("zh", 7, "SG", true, u"", u"", ""), u"Chinese, Simplified");
  EXPECT_EQ(LanguageDisplayName("zh", 7, "TW", true, u"", u"", ""), u"Chinese, Traditional");
  // The first token keeps the blank before "(".
  EXPECT_EQ(LanguageDisplayName("zh", 7, "TW", false, u"", u"Chinese (Taiwan)", ""), u"Chinese ");
  EXPECT_EQ(LanguageDisplayName("no", 1, "", true, u"", u"Norwegian Bokmal", "NYNORSK"),
            u"Norwegian, NYNORSK");
  EXPECT_EQ(LanguageDisplayName("de", 1, "", true, u"", u"German (Standard)", ""),
            u"German (Standard)");
  EXPECT_EQ(LanguageDisplayName("xx", 1, "", true, u"", u"", ""), u"");
}

TEST(SvLocaleCodes, LocaleDisplayNames) {
  EXPECT_EQ(LocaleDisplayName("zh", "TW", 7, true, u"", u"", u"", ""),
            u"Chinese, Traditional (Taiwan)");
  EXPECT_EQ(LocaleDisplayName("zh", "TW", 7, false, u"", u"", u"", ""), u"Chinese (Taiwan)");
  EXPECT_EQ(LocaleDisplayName("zh", "CN", 8, true, u"", u"", u"", ""),
            u"Chinese, Simplified (People's Republic of China)");
  EXPECT_EQ(LocaleDisplayName("no", "NO", 1, true, u"", u"", u"", "NYNORSK"),
            u"Norwegian, Nynorsk (Norway)");
  EXPECT_EQ(LocaleDisplayName("no", "NO", 1, true, u"Ny", u"", u"", "NYNORSK"),
            u"Norwegian, Ny (Norway)");
  EXPECT_EQ(LocaleDisplayName("es", "ES", 1, true, u"", u"", u"", "MOD"),
            u"Spanish, Modern (Spain)");
  EXPECT_EQ(LocaleDisplayName("de", "CH", 1, true, u"", u"", u"", ""), u"German (Switzerland)");
  // Serbian gets no script qualifier here.
  EXPECT_EQ(LocaleDisplayName("sr", "SP", 3, true, u"", u"", u"", ""),
            u"Serbian (Serbia and Montenegro)");
  EXPECT_EQ(LocaleDisplayName("az", "AZ", 3, true, u"", u"", u"", ""),
            u"Azeri, Cyrillic (Azerbaijan)");
  EXPECT_EQ(LocaleDisplayName("ko", "KR", 9, true, u"", u"", u"", "JOHAB"),
            u"Korean, Johab (Korea)");
  EXPECT_EQ(LocaleDisplayName("se", "FI", 1, true, u"", u"", u"", "INARI"),
            u"Sami, INARI (Finland)");
  EXPECT_EQ(LocaleDisplayName("se", "FI", 1, true, u"Inari", u"", u"", "INARI"),
            u"Sami, Inari (Finland)");
  EXPECT_EQ(LocaleDisplayName("de", "", 1, true, u"", u"", u"", ""), u"German");
  EXPECT_EQ(LocaleDisplayName("de", "DE", 1, true, u"", u"Deutschland", u"Deutsch", ""),
            u"Deutsch (Deutschland)");
}
