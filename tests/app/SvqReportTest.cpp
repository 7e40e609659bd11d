// The report of the tool, byte for byte, over files made by the test writer:
// every version, byte order, character set and context kind, the information
// block, the messages with the lines written before them, and the decided readings.
#include "tests/support/SvProcess.h"
#include "tests/support/SvqTestWriter.h"

#include <gtest/gtest.h>
#include <regex>

using sv::test::RunProcess;
using sv::test::TSvqTestFile;
using sv::test::TSvqTestLanguage;
using sv::test::TSvTempDir;

namespace {

const std::string kBanner =
    "SvqPeek Version " SV_VERSION " Copyright 2026 The SvqPeek developers (MIT License)\n";

class SvqReportTest : public testing::Test {
protected:
  sv::test::TSvProcessResult Run(const TSvqTestFile& file, bool translations = false) {
    file.Save(FDir.File("dict.svq"));
    std::vector<std::string> args{"dict"};
    if (translations)
      args.insert(args.begin(), "-t");
    return RunProcess(SVQPEEK_EXE, args, FDir.Path(), {"LC_ALL=C.UTF-8", "LANGUAGE="});
  }
  // The output without the banner; the banner is checked once here.
  std::string Report(const TSvqTestFile& file, bool translations = false) {
    const auto result = Run(file, translations);
    EXPECT_EQ(result.ExitCode, 0) << result.Output;
    EXPECT_EQ(result.Output.rfind(kBanner, 0), 0u);
    return result.Output.substr(std::min(kBanner.size(), result.Output.size()));
  }
  // Banner, exactly the lines before, then the error report of type and message.
  void ExpectError(const TSvqTestFile& file, bool translations, const std::string& before,
                   const std::string& type, const std::string& message) {
    const auto result = Run(file, translations);
    EXPECT_EQ(result.ExitCode, 1);
    const std::string expectedStart =
        kBanner + before + "Exception " + type + " in module SvqPeek at ";
    ASSERT_EQ(result.Output.substr(0, expectedStart.size()), expectedStart) << result.Output;
    const std::regex tail("[0-9A-F]{16}\\.\r\n" + message + "\\.\r\n\n");
    EXPECT_TRUE(std::regex_match(result.Output.substr(expectedStart.size()), tail))
        << result.Output;
  }
  TSvTempDir FDir;
};

TSvqTestLanguage Language(std::uint16_t primary, const std::string& code, std::uint16_t sub,
                          const std::string& country, const std::string& name) {
  TSvqTestLanguage language;
  language.Primary = primary;
  language.LanguageCode = code;
  language.Sublanguage = sub;
  language.CountryCode = country;
  language.Name = name;
  language.NativeName = name;
  return language;
}

TSvqTestFile Dictionary() {
  TSvqTestFile file;
  file.ContextKind = 1;
  file.Languages = {Language(9, "en", 1, "US", "English (United States)"),
                    Language(7, "de", 1, "DE", "German (Germany)"),
                    Language(12, "fr", 1, "FR", "French (France)")};
  file.Rows = {{{u"Hello", u"Hallo", u""}, u"TForm1", u"Button1"},
               {{u"Say \"hi\"", u"Gr\u00FC\u00DF", u"\u00C9t\u00E9"}, u"TForm1", u"Label1"}};
  file.Information.Description = "Small";
  file.Information.Owner = "Ann";
  file.Information.Users = {"Ann", "Bob"};
  file.Information.Day = 9;
  file.Information.Month = 12;
  file.Information.Year = 2026;
  file.Information.Hour = 14;
  file.Information.Minute = 30;
  file.Information.Second = 5;
  return file;
}

const std::string kHeader3 = "\n"
                             "Version: 3\n"
                             "Byte order: Little-endian\n"
                             "Character set: Unicode\n"
                             "Context: FormType+ComponentName\n"
                             "\n";
const std::string kLanguages = "Languages:\n"
                               "#0: English (United States), en_US\n"
                               "#1: German (Germany), de_DE\n"
                               "#2: French (France), fr_FR\n"
                               "\n";
const std::string kRows = "Translations:\n"
                          "#0: \"Hello\", \"Hallo\", \"\"\n"
                          "#1: \"Say \"hi\"\", \"Grüß\", \"Été\"\n"
                          "\n";
const std::string kTail = "Locale count: 0\n"
                          "\n"
                          "Description: Small\n"
                          "Owner: Ann\n"
                          "User #1: Ann\n"
                          "User #2: Bob\n"
                          "Time: 2026-12-09 14:30:05\n";

} // namespace

TEST_F(SvqReportTest, FullReportWithAndWithoutRows) {
  const TSvqTestFile file = Dictionary();
  EXPECT_EQ(Report(file, true), kHeader3 + kLanguages + kRows + kTail);
  EXPECT_EQ(Report(file), kHeader3 + kLanguages + "Row count: 2\n\n" + kTail);
}

TEST_F(SvqReportTest, BothByteOrdersAndEveryCharacterSetPrintTheSame) {
  TSvqTestFile file = Dictionary();
  for (std::uint8_t version : {1, 2, 3}) {
    for (std::uint8_t set : {0, 1, 2}) {
      file.Version = version;
      file.CharacterSet = set;
      file.ByteOrder = 1;
      const std::string little = Report(file, true);
      file.ByteOrder = 0;
      std::string big = Report(file, true);
      const auto at = big.find("Big-endian");
      ASSERT_NE(at, std::string::npos) << big;
      big.replace(at, 10, "Little-endian");
      EXPECT_EQ(big, little) << int(version) << " " << int(set);
      EXPECT_NE(little.find(kRows), std::string::npos) << little;
    }
  }
}

TEST_F(SvqReportTest, VersionsDecideCodesAndInformation) {
  TSvqTestFile file = Dictionary();
  file.Languages[2].Name = ""; // no stored name
  file.Version = 1;
  file.CharacterSet = 1;
  // Version 1: the codes are cleared, the stored names stay, a missing one is "Native";
  // no information block is read.
  EXPECT_EQ(Report(file), "\nVersion: 1\nByte order: Little-endian\nCharacter set: Ansi\n"
                          "Context: FormType+ComponentName\n\n"
                          "Languages:\n#0: English (United States), \n#1: German (Germany), \n"
                          "#2: Native, \n\nRow count: 2\n\nLocale count: 0\n\n"
                          "Time: 1899-12-30\n");
  // Version 0 is not version 1: description, owner and users, but no time stamp.
  file.Version = 0;
  const std::string v0 = Report(file);
  EXPECT_NE(v0.find("Languages:\n#0: English (United States), \n"), std::string::npos) << v0;
  EXPECT_NE(v0.find("\n\nDescription: Small\nOwner: Ann\nUser #1: Ann\nUser #2: Bob\n"
                    "Time: 1899-12-30\n"),
            std::string::npos)
      << v0;
  // Version 2: codes, but no time stamp.
  file.Version = 2;
  const std::string v2 = Report(file);
  EXPECT_NE(v2.find("#1: German (Germany), de_DE\n"), std::string::npos) << v2;
  EXPECT_NE(v2.find("User #2: Bob\nTime: 1899-12-30\n"), std::string::npos) << v2;
  // Versions above 3 read as version 3.
  file.Version = 9;
  file.CharacterSet = 0;
  file.Languages[2].Name = "French (France)";
  EXPECT_EQ(Report(file, true), "\nVersion: 9" + kHeader3.substr(11) + kLanguages + kRows + kTail);
}

TEST_F(SvqReportTest, StoredCodesWinEvenWhenEmpty) {
  TSvqTestFile file = Dictionary();
  file.Languages = {Language(9, "", 1, "US", "Nameless code"), Language(9, "", 1, "US", "")};
  file.Languages[1].NativeName = "";
  file.Rows.clear();
  EXPECT_EQ(Report(file).substr(kHeader3.size()),
            "Languages:\n#0: Nameless code, _US\n#1: Native, _US\n\nRow count: 0\n\n" + kTail);
}

TEST_F(SvqReportTest, EmptyNamesAreFilledFromTheCodes) {
  TSvqTestFile file = Dictionary();
  file.Languages = {Language(7, "de", 1, "DE", ""), Language(200, "", 0, "", ""),
                    Language(0, "zz", 0, "", "Unknown code")};
  file.Rows.clear();
  EXPECT_EQ(Report(file).substr(kHeader3.size()),
            "Languages:\n#0: German (Germany), de_DE\n#1: Native, \n#2: Unknown code, \n\n"
            "Row count: 0\n\n" +
                kTail);
}

TEST_F(SvqReportTest, NoVariantIsEverSet) {
  // Norwegian Nynorsk, Spanish with the modern sort and a Sami language: the table
  // knows their variants, the reader never sets one.
  TSvqTestFile file = Dictionary();
  file.Languages = {Language(0x14, "no", 2, "NO", "Nynorsk"),
                    Language(0x0A, "es", 3, "ES", "Modern"), Language(0x3B, "se", 1, "NO", "Sami")};
  file.Rows.clear();
  EXPECT_EQ(
      Report(file).substr(kHeader3.size()),
      "Languages:\n#0: Nynorsk, no_NO\n#1: Modern, es_ES\n#2: Sami, se_NO\n\nRow count: 0\n\n" +
          kTail);
}

TEST_F(SvqReportTest, TailBeyondTheEndFailsAtTheNextRecord) {
  TSvqTestFile file = Dictionary();
  file.Rows.clear();
  file.Information.Present = false;
  file.Languages[0].RecordLength = 65000;
  ExpectError(file, false, kHeader3 + "Languages:\n#0: English (United States), en_US\n",
              "ESvStreamError", "Stream read error");
}

TEST_F(SvqReportTest, NamesOfHeaderBytesUseTheLowSevenBits) {
  TSvqTestFile file = Dictionary();
  file.ByteOrder = 0x80;    // "Big-endian", read little-endian
  file.CharacterSet = 0x80; // "Unicode", read as 8-bit
  file.ContextKind = 0x81;  // "FormType+ComponentName", rows without context strings
  const std::string report = Report(file, true);
  EXPECT_EQ(report.rfind("\nVersion: 3\nByte order: Big-endian\nCharacter set: Unicode\n"
                         "Context: FormType+ComponentName\n\nLanguages:\n",
                         0),
            0u)
      << report;
  EXPECT_NE(report.find(kLanguages + kRows + kTail), std::string::npos) << report;

  file.ByteOrder = 2;
  file.CharacterSet = 0x83;
  file.ContextKind = 7;
  const std::string numbers = Report(file, true);
  EXPECT_EQ(numbers.rfind("\nVersion: 3\nByte order: 2\nCharacter set: 3\nContext: 7\n\n", 0), 0u)
      << numbers;
  EXPECT_NE(numbers.find(kRows), std::string::npos) << numbers;
}

TEST_F(SvqReportTest, ContextKindsOnlyChangeWhatTheRowsCarry) {
  TSvqTestFile file = Dictionary();
  const char* names[] = {"None", "FormType+ComponentName", "ComponentName", "FormType"};
  for (std::uint8_t kind = 0; kind < 4; ++kind) {
    file.ContextKind = kind;
    const std::string report = Report(file, true);
    EXPECT_NE(report.find(std::string("Context: ") + names[kind] + "\n"), std::string::npos);
    EXPECT_NE(report.find(kRows + kTail), std::string::npos) << report;
  }
}

TEST_F(SvqReportTest, TailsAndShortRecordLengths) {
  TSvqTestFile file = Dictionary();
  file.Languages[0].Tail = {1, 2, 3, 4, 5, 6};
  file.Languages[1].RecordLength = 2;
  file.Languages[2].RecordLength = 0;
  file.ReverseBlocks = true;
  EXPECT_EQ(Report(file, true), kHeader3 + kLanguages + kRows + kTail);
}

TEST_F(SvqReportTest, TimeStamps) {
  TSvqTestFile file = Dictionary();
  auto timeLine = [&](int day, int month, int year, int hour, int minute, int second) {
    file.Information.Day = static_cast<std::uint8_t>(day);
    file.Information.Month = static_cast<std::uint8_t>(month);
    file.Information.Year = static_cast<std::uint16_t>(year);
    file.Information.Hour = static_cast<std::uint8_t>(hour);
    file.Information.Minute = static_cast<std::uint8_t>(minute);
    file.Information.Second = static_cast<std::uint8_t>(second);
    const std::string report = Report(file);
    return report.substr(report.rfind("Time: "));
  };
  EXPECT_EQ(timeLine(9, 12, 2026, 0, 0, 0), "Time: 2026-12-09\n"); // midnight
  EXPECT_EQ(timeLine(9, 12, 2026, 0, 0, 1), "Time: 2026-12-09 00:00:01\n");
  EXPECT_EQ(timeLine(31, 2, 2026, 10, 0, 0), "Time: 1899-12-30\n"); // no such day
  EXPECT_EQ(timeLine(0, 2, 2026, 10, 0, 0), "Time: 1899-12-30\n");
  EXPECT_EQ(timeLine(1, 1, 1, 23, 59, 59), "Time: 0001-01-01 23:59:59\n");
  EXPECT_EQ(timeLine(29, 12, 1899, 6, 0, 0), "Time: 1899-12-29 06:00:00\n"); // before the epoch
  EXPECT_EQ(timeLine(31, 12, 9999, 12, 0, 0), "Time: 9999-12-31 12:00:00\n");
  EXPECT_EQ(timeLine(1, 1, 2024, 12, 60, 0), "Time: 1899-12-30\n");
}

TEST_F(SvqReportTest, InformationBlockAbsentOrEmpty) {
  TSvqTestFile file = Dictionary();
  file.Information.Present = false;
  EXPECT_EQ(Report(file), kHeader3 + kLanguages +
                              "Row count: 2\n\nLocale count: 0\n\n"
                              "Time: 1899-12-30\n");
  file.Information = {};
  file.LocaleCount = 3;
  file.LocaleBlock = {0, 0, 0};
  EXPECT_EQ(Report(file), kHeader3 + kLanguages +
                              "Row count: 2\n\nLocale count: 3\n\n"
                              "Time: 1899-12-30\n");
}

TEST_F(SvqReportTest, EightBitTextsAndRowTextsArePrintedAsTheyAre) {
  TSvqTestFile file = Dictionary();
  file.CharacterSet = 1;
  file.Information.Description = "Caf\xE9 \x1B[31m";
  file.Information.Owner = "\xC3\xA9t\xC3\xA9";
  file.Rows = {{{u"line\nbreak", u"tab\there", u"\u202Eevil\x1b]0;title\a"}, u"", u""}};
  const std::string report = Report(file, true);
  EXPECT_NE(report.find("#0: \"line\nbreak\", \"tab\there\", \"\u202Eevil\x1b]0;title\a\"\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("Description: Caf\xE9 \x1B[31m\nOwner: \xC3\xA9t\xC3\xA9\n"),
            std::string::npos);
}

TEST_F(SvqReportTest, FailuresAtOpenWriteNothingOfTheReport) {
  TSvqTestFile file = Dictionary();
  TSvqTestFile magic = file;
  magic.Magic = "SVq";
  ExpectError(magic, false, "", "ESvError", "The stream is not a valid SVQ stream");
  TSvqTestFile shortHeader = file;
  shortHeader.TruncateTo = 30;
  ExpectError(shortHeader, false, "", "ESvStreamError", "Stream read error");
  TSvqTestFile noOffset = file;
  noOffset.LanguageOffset = 0;
  ExpectError(noOffset, true, "", "ESvError", "Invalid language offset");
  TSvqTestFile firstRecord = file;
  firstRecord.TruncateTo = 60;
  ExpectError(firstRecord, false, "", "ESvStreamError", "Stream read error");
}

TEST_F(SvqReportTest, ZeroLanguagesAndZeroRows) {
  TSvqTestFile file = Dictionary();
  file.LanguageCount = 0; // record 0 is still decoded at open
  file.Rows.clear();
  EXPECT_EQ(Report(file, true), kHeader3 + "Languages:\n\nRow count: 0\n\n" + kTail);

  // Rows but no language: column 0 of an empty list.
  file = Dictionary();
  file.LanguageCount = 0;
  ExpectError(file, true, kHeader3 + "Languages:\n\nTranslations:\n", "ESvRangeError",
              "Out of string list range");
}

TEST_F(SvqReportTest, ErrorsAfterTheHeaderKeepTheLinesBefore) {
  TSvqTestFile file = Dictionary();
  TSvqTestFile noRows = file;
  noRows.TranslationOffset = 0;
  EXPECT_EQ(Report(noRows), kHeader3 + kLanguages + "Row count: 2\n\n" + kTail);
  ExpectError(noRows, true, kHeader3 + kLanguages + "Translations:\n", "ESvError",
              "Invalid translation offset");

  // The file ends inside row 1: row 0 complete, nothing of row 1.
  TSvqTestFile cutRow = file;
  cutRow.Information.Present = false;
  cutRow.TruncateTo = cutRow.Build().size() - 2;
  ExpectError(cutRow, true,
              kHeader3 + kLanguages + "Translations:\n#0: \"Hello\", \"Hallo\", \"\"\n",
              "ESvStreamError", "Stream read error");

  // The file ends inside the information block.
  TSvqTestFile cutInformation = file;
  cutInformation.TruncateTo = file.Build().size() - 1;
  ExpectError(cutInformation, false, kHeader3 + kLanguages + "Row count: 2\n\nLocale count: 0\n\n",
              "ESvStreamError", "Stream read error");

  // The file ends inside language record 2.
  TSvqTestFile cutLanguage = file;
  cutLanguage.ReverseBlocks = true;
  cutLanguage.TruncateTo = file.Build().size() - 10;
  ExpectError(cutLanguage, false,
              kHeader3 + "Languages:\n#0: English (United States), en_US\n"
                         "#1: German (Germany), de_DE\n",
              "ESvStreamError", "Stream read error");
}

TEST_F(SvqReportTest, HugeClaimedCountsInASmallFile) {
  TSvqTestFile file;
  file.CharacterSet = 1;
  file.Languages = {Language(9, "en", 1, "US", "English")};
  file.Rows = {{{u"x"}, u"", u""}};
  file.Information.Description = "beyond the cut";
  file.LanguageCount = 65535;
  file.RowCount = 65535;
  file.TruncateTo = 100;
  ASSERT_GE(file.Build().size(), 100u);
  ExpectError(file, true,
              "\nVersion: 3\nByte order: Little-endian\nCharacter set: Ansi\nContext: None\n\n"
              "Languages:\n#0: English, en_US\n",
              "ESvStreamError", "Stream read error");
}

TEST_F(SvqReportTest, SampleDictionaryOfTheReadme) {
  const auto result =
      RunProcess(SVQPEEK_EXE, {"-t", std::string(SV_SOURCE_DIR) + "/examples/sample.svq"}, {},
                 {"LC_ALL=C.UTF-8", "LANGUAGE="});
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_NE(result.Output.find("#2: Japanese (Japan), ja_JP\n"), std::string::npos);
  EXPECT_NE(result.Output.find("#11: \"Say \"hello\"\", \"Sag \"hallo\"\", \"\"\n"),
            std::string::npos);
  EXPECT_NE(result.Output.find("User #2: Jens Beispiel\nTime: 2026-12-09 14:30:05\n"),
            std::string::npos);
}
