#include "locale/SvLocaleTables.h"
#include "app/SvModules.h"
#include "tests/support/SvProcess.h"
#include "text/SvStrings.h"

#include <gtest/gtest.h>

#include <libintl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace sv {
namespace {

std::string IdOf(const TSvLocaleData& row) {
  return std::string(row.Language) + "-" + row.Country + (*row.Variant ? "-" : "") + row.Variant;
}

TEST(SvLocaleTables, TablesHaveTheirRowCounts) {
  EXPECT_EQ(ScriptTable().size(), 24u);
  EXPECT_EQ(UnicodeEncodingTable().size(), 4u);
  EXPECT_EQ(CodePageTable().size(), 142u);
  EXPECT_EQ(EncodingGroupTable().size(), 18u);
  EXPECT_EQ(CharsetTable().size(), 19u);
  EXPECT_EQ(CharsetCodePageTable().size(), 32u);
  EXPECT_EQ(LocaleTable().size(), 166u); // 165 rows and the terminating row
  EXPECT_EQ(LanguageConstantTable().size(), 44u);
  EXPECT_EQ(SublanguageConstantTable().size(), 78u);
}

TEST(SvLocaleTables, ScriptRowsInOrder) {
  const auto scripts = ScriptTable();
  std::string abbreviations;
  std::set<std::string> unique;
  for (const TSvScriptData& row : scripts) {
    abbreviations += row.Abbreviation;
    abbreviations += ' ';
    unique.insert(row.Abbreviation);
  }
  EXPECT_EQ(abbreviations, "def lat gre cyr ara heb jap tra sim kor tha arm geo syr dhi dev ben "
                           "gur ori tam tel kan mal guj ");
  EXPECT_EQ(unique.size(), scripts.size());
  EXPECT_STREQ(scripts[7].Name, "Chinese, traditional");
  EXPECT_STREQ(scripts[7].Identifier, "chinesetraditional");
  EXPECT_STREQ(scripts[14].Name, "Dhives akuru");
  EXPECT_STREQ(scripts[14].Identifier, "dhives");
}

TEST(SvLocaleTables, UnicodeEncodingRows) {
  const auto rows = UnicodeEncodingTable();
  const char* names[] = {"utf-8", "unicode", "unicodeFFFE", "unicode-escape"};
  const char* descriptions[] = {"UTF-8", "UTF-16, little endian", "UTF-16, big endian",
                                "Unicode escape"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_STREQ(rows[i].Name, names[i]);
    EXPECT_STREQ(rows[i].Description, descriptions[i]);
    EXPECT_EQ(rows[i].Kind, static_cast<std::int32_t>(i));
  }
}

TEST(SvLocaleTables, CodePageRowsInOrder) {
  const auto rows = CodePageTable();
  // The first 14 rows are the Windows code pages, and they are the only ones.
  const int windows[] = {1252, 1250, 1251, 1253, 1254, 1255, 1256,
                         1257, 1258, 874,  932,  936,  949,  950};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].CodePage);
    if (i < 14) {
      EXPECT_EQ(rows[i].CodePage, windows[i]);
    }
    EXPECT_EQ(rows[i].Kind == ekWindows, i < 14);
    EXPECT_LT(rows[i].Script, ScriptTable().size()) << "script is a valid index";
  }
  std::set<int> unique;
  for (const TSvCodePageData& row : rows)
    unique.insert(row.CodePage);
  EXPECT_EQ(unique.size(), rows.size()) << "no code page has two rows";

  EXPECT_STREQ(rows[25].Name, "iso-2022-jp");
  EXPECT_EQ(rows[25].CodePage, 50220);
  EXPECT_STREQ(rows[27].Name, "iso-2022-jp");
  EXPECT_EQ(rows[27].CodePage, 50222);
  EXPECT_EQ(rows[103].CodePage, 65000);
  EXPECT_EQ(rows[103].Script, 0);
  EXPECT_EQ(rows[105].Kind, ekUtf16LE);
  EXPECT_EQ(rows[106].Kind, ekUtf16BE);
  EXPECT_STREQ(rows[110].Description, "Elten Taiwan");
  EXPECT_STREQ(rows[121].Description, "JIS X 0208-1990 & 0212-1990");
  EXPECT_EQ(rows[141].CodePage, 57011);
  EXPECT_STREQ(rows[141].Name, "x-iscii-pa");
  EXPECT_EQ(rows[141].Script, 17);
  EXPECT_EQ(rows[141].Kind, ekOther);
}

TEST(SvLocaleTables, EncodingGroupsNameKnownEncodingsOfTheirKind) {
  const auto groups = EncodingGroupTable();
  for (std::size_t g = 0; g < groups.size(); ++g) {
    for (int kind = 0; kind < 10; ++kind) {
      const std::string name = groups[g][kind];
      SCOPED_TRACE("group " + std::to_string(g) + " kind " + std::to_string(kind) + " " + name);
      if (name.empty())
        continue;
      if (kind == ekUnicodeEscape) {
        EXPECT_EQ(name, UnicodeEncodingTable()[3].Name);
        continue;
      }
      const TSvCodePageData* row = FindCodePageByName(name);
      ASSERT_NE(row, nullptr);
      EXPECT_EQ(row->Kind, kind);
    }
  }
  for (int kind = 0; kind < 10; ++kind)
    EXPECT_STREQ(groups[0][kind], "");
  EXPECT_STREQ(groups[1][ekWindows], "");
  EXPECT_STREQ(groups[9][ekMac], "x-mac-ukraine");
  EXPECT_STREQ(groups[13][ekOther], "GB18030");
  EXPECT_STREQ(groups[17][ekWindows], "windows-1258");
}

TEST(SvLocaleTables, CharsetsAndTheirCodePages) {
  const auto charsets = CharsetTable();
  EXPECT_STREQ(charsets[0].Name, "ANSI_CHARSET");
  EXPECT_STREQ(charsets[7].Name, "OEM_CHARSET");
  EXPECT_EQ(charsets[7].Value, 255);
  EXPECT_STREQ(charsets[18].Name, "BALTIC_CHARSET");
  EXPECT_EQ(charsets[18].Value, 186);

  std::set<int> values;
  for (const TSvCharsetData& row : charsets)
    values.insert(row.Value);
  const auto slots = CharsetCodePageTable();
  int filled = 0;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    SCOPED_TRACE(i);
    const bool empty = (i >= 8 && i <= 15) || i >= 23;
    EXPECT_EQ(slots[i].CodePage == 0, empty);
    if (empty) {
      EXPECT_EQ(slots[i].Charset, 0);
      EXPECT_EQ(slots[i].RightToLeft, 0);
      continue;
    }
    ++filled;
    EXPECT_TRUE(values.count(slots[i].Charset)) << "a charset of the charset table";
    EXPECT_EQ(slots[i].RightToLeft != 0, i == 5 || i == 6);
    EXPECT_NE(FindCodePage(slots[i].CodePage), nullptr);
  }
  EXPECT_EQ(filled, 15);
  EXPECT_EQ(slots[21].CodePage, 1361);
  EXPECT_EQ(slots[21].Charset, 130);
  EXPECT_EQ(slots[22].CodePage, 1258);
  EXPECT_EQ(slots[22].Charset, 163);
}

TEST(SvLocaleTables, LocaleRowsAreConsistent) {
  const auto rows = LocaleTable();
  std::set<int> ids;
  std::set<std::string> finishedLanguages;
  std::string previous;
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    const TSvLocaleData& row = rows[i];
    SCOPED_TRACE(std::to_string(i) + " " + IdOf(row));
    ASSERT_NE(row.Language[0], '\0');
    EXPECT_GT(row.PrimaryLanguage, 0);
    EXPECT_LT(row.PrimaryLanguage, 0x400);
    EXPECT_GT(row.SubLanguage, 0);
    EXPECT_LT(row.SubLanguage, 64);
    EXPECT_TRUE(ids.insert(row.PrimaryLanguage + row.SubLanguage * 1024).second)
        << "identifiers are unique";
    // The identifier is the one the lookups compute from the row's codes and back.
    EXPECT_EQ(LanguageIdOf(row.Language, row.Country, row.Script, row.Variant),
              row.PrimaryLanguage + row.SubLanguage * 1024);
    EXPECT_EQ(PrimaryLanguageOf(row.Language), row.PrimaryLanguage);
    EXPECT_EQ(FindLocaleById(row.PrimaryLanguage, row.SubLanguage), &row);
    // Rows of one language are contiguous.
    if (row.Language != previous) {
      EXPECT_TRUE(finishedLanguages.insert(row.Language).second);
      previous = row.Language;
    }
    EXPECT_LT(row.Script, ScriptTable().size());
    ASSERT_LT(row.Encodings, EncodingGroupTable().size());
    const std::string windows = EncodingGroupTable()[row.Encodings][ekWindows];
    if (!windows.empty()) {
      EXPECT_NE(FindCodePageByName(windows), nullptr);
    }
    EXPECT_NE(row.LanguageName[0], '\0');
  }
  EXPECT_EQ(finishedLanguages.size(), 83u);

  const TSvLocaleData& end = rows.back();
  EXPECT_STREQ(end.Language, "");
  EXPECT_STREQ(end.LanguageName, "");
  EXPECT_EQ(end.Script, 1);
  EXPECT_EQ(end.Encodings, 0);
  EXPECT_EQ(end.PrimaryLanguage, -1);
  EXPECT_EQ(end.SubLanguage, -1);
  EXPECT_EQ(end.Charset, 1);
  EXPECT_EQ(end.SymbianLanguage, 99);
}

TEST(SvLocaleTables, LocaleRowsInOrder) {
  const auto rows = LocaleTable();
  EXPECT_EQ(IdOf(rows[0]), "ar-SA");
  EXPECT_EQ(IdOf(rows[16]), "hy-AM");
  EXPECT_EQ(IdOf(rows[31]), "bg-BG");
  EXPECT_EQ(IdOf(rows[60]), "es-ES");
  EXPECT_EQ(IdOf(rows[62]), "es-ES-MOD");
  EXPECT_STREQ(rows[62].VariantName, "Modern");
  EXPECT_EQ(IdOf(rows[96]), "no-NO");
  EXPECT_EQ(IdOf(rows[97]), "no-NO-NYNORSK");
  EXPECT_EQ(IdOf(rows[106]), "sr-SP");
  EXPECT_EQ(rows[106].Script, 3);
  EXPECT_EQ(rows[107].Script, 1);
  EXPECT_EQ(IdOf(rows[131]), "ts-  ");
  EXPECT_STREQ(rows[131].CountryName, "");
  EXPECT_STREQ(rows[131].Abbreviation, "");
  EXPECT_STREQ(rows[130].CountryName, "Former Yugoslav Republic of Macedonia");
  EXPECT_STREQ(rows[147].LanguageName, "Assame");
  EXPECT_EQ(rows[147].Encodings, 2);
  EXPECT_EQ(IdOf(rows[164]), "se-FI-INARI");
  EXPECT_EQ(rows[164].PrimaryLanguage + rows[164].SubLanguage * 1024, 0x243B);
  EXPECT_STREQ(rows[164].Abbreviation, "SMN");
  EXPECT_EQ(rows[99].PrimaryLanguage + rows[99].SubLanguage * 1024, 0x0816); // pt-PT
  EXPECT_EQ(rows[100].PrimaryLanguage + rows[100].SubLanguage * 1024, 0x0416);
}

TEST(SvLocaleTables, LastNineLocaleColumns) {
  struct TTelling {
    const char* Id;
    int Charset, PalmLanguage, PalmCountry, SymbianLanguage;
    const char *SymbianCode, *OracleAbbreviation, *OracleLanguage, *OracleTerritory;
  };
  const TTelling telling[] = {
      {"en-US", 0, 0, 23, 10, "AM", "us", "AMERICAN", "AMERICA"},
      {"en-GB", 0, 0, 22, 1, "EN", "gb", "ENGLISH", "UNITED KINGDOM"},
      {"de-CH", 0, 2, 21, 12, "SG", "d", "GERMAN", "SWITZERLAND"},
      {"zh-TW", 136, 135, 32, 29, "TC", "zht", "TRADITIONAL CHINESE", "TAIWAN"},
      {"ja-JP", 128, 6, 13, 32, "JA", "ja", "JAPANESE", "JAPAN"},
      {"es-MX", 0, 4, 15, 83, "", "esm", "MEXICAN SPANISH", "MEXICO"},
      {"hy-AM", 0, 48, 39, 38, "", "", "", ""},
  };
  std::map<std::string, const TTelling*> byId;
  for (const TTelling& t : telling)
    byId[t.Id] = &t;
  const auto rows = LocaleTable();
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    const TSvLocaleData& row = rows[i];
    SCOPED_TRACE(IdOf(row));
    const auto found = byId.find(IdOf(row));
    if (found == byId.end()) {
      const int windows = CodePageOfName(EncodingGroupTable()[row.Encodings][ekWindows]);
      EXPECT_EQ(row.Charset, CharsetOfCodePage(windows));
      EXPECT_EQ(row.PalmLanguage, 0);
      EXPECT_STREQ(row.OracleLanguage, "");
      continue;
    }
    const TTelling& t = *found->second;
    EXPECT_EQ(row.Charset, t.Charset);
    EXPECT_EQ(row.PalmLanguage, t.PalmLanguage);
    EXPECT_EQ(row.PalmCountry, t.PalmCountry);
    EXPECT_EQ(row.SymbianLanguage, t.SymbianLanguage);
    EXPECT_STREQ(row.SymbianCode, t.SymbianCode);
    EXPECT_STREQ(row.OracleAbbreviation, t.OracleAbbreviation);
    EXPECT_STREQ(row.OracleLanguage, t.OracleLanguage);
    EXPECT_STREQ(row.OracleTerritory, t.OracleTerritory);
    byId.erase(found);
  }
  EXPECT_TRUE(byId.empty()) << "every telling row is in the table";
  EXPECT_EQ(rows[0].Charset, 178);   // Arabic
  EXPECT_EQ(rows[103].Charset, 204); // Russian
  EXPECT_EQ(rows[18].Charset, 1);    // Hindi: no Windows code page
}

// The value of a named constant of a constant table.
int ConstantOf(std::span<const TNLSData> table, const std::string& name) {
  for (const TNLSData& row : table) {
    if (name == row.Name)
      return row.Value;
  }
  ADD_FAILURE() << "no constant " << name;
  return -1;
}

TEST(SvLocaleTables, LanguageConstantsPairWithTheLocaleRows) {
  const auto languages = LanguageConstantTable();
  const auto sublanguages = SublanguageConstantTable();
  EXPECT_STREQ(languages.front().Name, "LANG_NEUTRAL");
  EXPECT_EQ(languages.front().Value, 0);
  EXPECT_STREQ(languages.back().Name, "LANG_VIETNAMESE");
  EXPECT_STREQ(sublanguages[2].Name, "SUBLANG_SYS_DEFAULT");
  EXPECT_EQ(sublanguages[2].Value, 2);
  EXPECT_STREQ(sublanguages.back().Name, "SUBLANG_SWEDISH_FINLAND");

  // Each language constant with a locale row names that row's language.
  const std::map<std::string, std::string> codes = {
      {"AFRIKAANS", "af"},  {"ALBANIAN", "sq"},  {"ARABIC", "ar"},    {"BASQUE", "eu"},
      {"BELARUSIAN", "be"}, {"BULGARIAN", "bg"}, {"CATALAN", "ca"},   {"CHINESE", "zh"},
      {"CROATIAN", "hr"},   {"CZECH", "cs"},     {"DANISH", "da"},    {"DUTCH", "nl"},
      {"ENGLISH", "en"},    {"ESTONIAN", "et"},  {"FAEROESE", "fo"},  {"FARSI", "fa"},
      {"FINNISH", "fi"},    {"FRENCH", "fr"},    {"GERMAN", "de"},    {"GREEK", "el"},
      {"HEBREW", "he"},     {"HUNGARIAN", "hu"}, {"ICELANDIC", "is"}, {"INDONESIAN", "id"},
      {"ITALIAN", "it"},    {"JAPANESE", "ja"},  {"KOREAN", "ko"},    {"LATVIAN", "lv"},
      {"LITHUANIAN", "lt"}, {"NORWEGIAN", "no"}, {"POLISH", "pl"},    {"PORTUGUESE", "pt"},
      {"ROMANIAN", "ro"},   {"RUSSIAN", "ru"},   {"SERBIAN", "hr"},   {"SLOVAK", "sk"},
      {"SLOVENIAN", "sl"},  {"SPANISH", "es"},   {"SWEDISH", "sv"},   {"THAI", "th"},
      {"TURKISH", "tr"},    {"UKRAINIAN", "uk"}, {"VIETNAMESE", "vi"}};
  for (const TNLSData& row : languages.subspan(1)) {
    SCOPED_TRACE(row.Name);
    const std::string name = std::string(row.Name).substr(5);
    ASSERT_TRUE(codes.count(name));
    EXPECT_EQ(LanguageCodeOf(row.Value), codes.at(name));
  }

  // SUBLANG_<LANGUAGE>_<COUNTRY> with LANG_<LANGUAGE> is the identifier of a locale row.
  int paired = 0;
  for (const TNLSData& sub : sublanguages) {
    const std::string name = std::string(sub.Name).substr(8);
    std::string language;
    for (const auto& [candidate, code] : codes) {
      if (name.rfind(candidate, 0) == 0 && candidate.size() > language.size())
        language = candidate;
    }
    if (language.empty())
      continue;
    SCOPED_TRACE(sub.Name);
    ++paired;
    const int primary = ConstantOf(languages, "LANG_" + language);
    const TSvLocaleData* row = FindLocaleById(primary, sub.Value);
    if (name == "KOREAN_JOHAB") {
      EXPECT_EQ(row, nullptr); // no locale row for the Johab sort
      continue;
    }
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->SubLanguage, sub.Value);
  }
  EXPECT_EQ(paired, 75);
  EXPECT_EQ(CountryCodeOf(ConstantOf(languages, "LANG_ENGLISH"),
                          ConstantOf(sublanguages, "SUBLANG_ENGLISH_EIRE")),
            "IE");
  EXPECT_EQ(CountryCodeOf(ConstantOf(languages, "LANG_PORTUGUESE"),
                          ConstantOf(sublanguages, "SUBLANG_PORTUGUESE_BRAZILIAN")),
            "BR");
  EXPECT_EQ(CountryCodeOf(ConstantOf(languages, "LANG_SERBIAN"),
                          ConstantOf(sublanguages, "SUBLANG_SERBIAN_CYRILLIC")),
            "SP");
}

TEST(SvLocaleTables, LoadedNamesAreTheEnglishTexts) {
  const auto rows = LocaleTable();
  EXPECT_EQ(LanguageNameOfRow(rows[40]), "German");
  EXPECT_EQ(CountryNameOfRow(rows[33]), "People's Republic of China");
  EXPECT_EQ(VariantNameOfRow(rows[97]), "Nynorsk");
  EXPECT_EQ(VariantNameOfRow(rows[96]), "");
  EXPECT_EQ(CountryNameOfRow(rows.back()), "");
  EXPECT_EQ(CodePageDescription(CodePageTable()[24]), "ISO 8859-8 Hebrew Logical Ordering");
  EXPECT_EQ(EncodingDescription(UnicodeEncodingTable()[1]), "UTF-16, little endian");
  // A row that is not in a table has no loaded text.
  const TSvLocaleData copy = rows[40];
  EXPECT_EQ(LanguageNameOfRow(copy), "");
}

// A GNU message catalog with the given translations (sorted by original).
void WriteCatalog(const std::string& path, const std::map<std::string, std::string>& texts) {
  const std::uint32_t n = static_cast<std::uint32_t>(texts.size());
  const std::uint32_t originals = 28, translations = originals + 8 * n;
  std::uint32_t data = translations + 8 * n;
  std::vector<std::uint32_t> words = {0x950412de, 0, n, originals, translations, 0, 0};
  std::string strings;
  std::vector<std::uint32_t> originalEntries, translationEntries;
  for (const auto& [original, translation] : texts) {
    originalEntries.insert(originalEntries.end(),
                           {static_cast<std::uint32_t>(original.size()), data});
    data += static_cast<std::uint32_t>(original.size()) + 1;
    strings += original + '\0';
  }
  for (const auto& [original, translation] : texts) {
    translationEntries.insert(translationEntries.end(),
                              {static_cast<std::uint32_t>(translation.size()), data});
    data += static_cast<std::uint32_t>(translation.size()) + 1;
    strings += translation + '\0';
  }
  words.insert(words.end(), originalEntries.begin(), originalEntries.end());
  words.insert(words.end(), translationEntries.begin(), translationEntries.end());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(words.data()),
            static_cast<std::streamsize>(words.size() * sizeof(std::uint32_t)));
  out << strings;
}

extern "C" int _nl_msg_cat_cntr; // glibc: bumping it drops cached translations

TEST(SvLocaleTables, NamesComeFromTheStringTable) {
  test::TSvTempDir dir;
  const std::string folder = dir.Path() + "/de/LC_MESSAGES";
  ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
  WriteCatalog(folder + "/SvqPeek.mo", {{"", "Content-Type: text/plain; charset=UTF-8\n"},
                                        {"Germany", "Deutschland"},
                                        {"Nynorsk", "Neunorwegisch"},
                                        {"Windows Western Europe", "Windows Westeuropa"},
                                        {"Unicode escape", "Unicode-Escape"}});
  bindtextdomain("SvqPeek", dir.Path().c_str());
  setenv("LANGUAGE", "de", 1);
  ++_nl_msg_cat_cntr;
  ReleaseLocaleTableNames();
  LoadLocaleTableNames();
  const auto rows = LocaleTable();
  const std::string country = CountryNameOfRow(rows[40]);
  const std::string variant = VariantNameOfRow(rows[97]);
  const std::string noVariant = VariantNameOfRow(rows[40]);
  const std::string language = LanguageNameOfRow(rows[40]);
  const std::string codePage = CodePageDescription(CodePageTable()[0]);
  const std::string encoding = EncodingDescription(UnicodeEncodingTable()[3]);
  const std::string viaLookup = CountryNameOf("de", "DE", 0);

  unsetenv("LANGUAGE");
  ++_nl_msg_cat_cntr;
  InitStringTable();
  ReleaseLocaleTableNames();
  LoadLocaleTableNames();

  EXPECT_EQ(country, "Deutschland");
  EXPECT_EQ(viaLookup, "Deutschland");
  EXPECT_EQ(variant, "Neunorwegisch");
  EXPECT_EQ(noVariant, "") << "an empty field is not looked up";
  EXPECT_EQ(language, "German") << "untranslated texts stay English";
  EXPECT_EQ(codePage, "Windows Westeuropa");
  EXPECT_EQ(encoding, "Unicode-Escape");
  EXPECT_EQ(CountryNameOfRow(rows[40]), "Germany");
}

TEST(SvLocaleTables, ReleasedNamesAreEmptyUntilLoadedAgain) {
  ReleaseLocaleTableNames();
  const std::string released = LanguageNameOfRow(LocaleTable()[40]);
  LoadLocaleTableNames();
  EXPECT_EQ(released, "");
  EXPECT_EQ(LanguageNameOfRow(LocaleTable()[40]), "German");
}

} // namespace
} // namespace sv
