// The SVQ reader on files made by the test writer: header and its fix-ups, the
// failures at Open, language records with tails, rows and the information block.
#include "svq/SvSvqFile.h"

#include "core/SvCollec.h"
#include "language/SvLanguage.h"
#include "locale/SvConvert.h"
#include "tests/support/SvProcess.h"
#include "tests/support/SvqTestWriter.h"
#include "text/SvErrors.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>

using namespace sv;
using sv::test::TSvqTestFile;
using sv::test::TSvqTestLanguage;
using sv::test::TSvTempDir;

namespace {

class SvSvqFileTest : public testing::Test {
protected:
  std::string Save(const TSvqTestFile& file, const std::string& name = "dict.svq") {
    const std::string path = FDir.File(name);
    file.Save(path);
    return path;
  }
  TSvTempDir FDir;
};

// A header field by value: the header is packed, a reference to a field could be misaligned.
template <class T> T Field(T value) {
  return value;
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ESvError& e) {
    return e.what();
  }
  return "no error";
}

TSvqTestLanguage Language(std::uint16_t primary, const std::string& code, const std::string& name) {
  TSvqTestLanguage language;
  language.Primary = primary;
  language.LanguageCode = code;
  language.Name = name;
  language.NativeName = name;
  return language;
}

// Three languages, context kind 1, two rows.
TSvqTestFile ThreeLanguages() {
  TSvqTestFile file;
  file.ContextKind = 1;
  file.Languages = {Language(9, "en", "English"), Language(7, "de", "German"),
                    Language(12, "fr", "French")};
  file.Rows = {{{u"Hello", u"Hallo", u""}, u"TForm1", u"Button1"},
               {{u"Bye", u"Tsch\u00FCss", u"Au revoir"}, u"TForm2", u"Label1"}};
  return file;
}

std::vector<std::u16string> Texts(const TSvWideStringList& list) {
  std::vector<std::u16string> result;
  for (int i = 0; i < list.Count(); ++i)
    result.push_back(list.Get(i));
  return result;
}

} // namespace

TEST_F(SvSvqFileTest, HeaderValuesAreTheSameInBothByteOrders) {
  TSvqTestFile file = ThreeLanguages();
  file.LocaleCount = 4;
  file.LocaleBlock = {1, 2, 3, 4};
  file.Reserved30 = 0x1234;
  for (std::uint8_t order : {0, 1}) {
    file.ByteOrder = order;
    TSvSvqFile reader;
    reader.Open(Save(file));
    EXPECT_EQ(reader.Version(), 3);
    EXPECT_EQ(reader.ByteOrder(), order);
    EXPECT_EQ(reader.LanguageCount(), 3);
    EXPECT_EQ(reader.RowCount(), 2);
    EXPECT_EQ(reader.LocaleCount(), 4);
    EXPECT_EQ(Field(reader.Header().LanguageOffset), 42u);
    EXPECT_NE(Field(reader.Header().TranslationOffset), 0u);
    EXPECT_NE(Field(reader.Header().InformationOffset), 0u);
    EXPECT_EQ(Field(reader.Header().LocaleOffset), file.Build().size() - 4);
    EXPECT_EQ(Field(reader.Header().Reserved2), 0x1234);
    // Open leaves the stream at the language block.
    EXPECT_EQ(reader.Stream()->Position(), 42u);
  }
}

TEST_F(SvSvqFileTest, VersionOneTakesTheCharacterSetFromByteSevenAndHasNoInformation) {
  TSvqTestFile file = ThreeLanguages();
  file.Version = 1;
  file.CharacterSet = 1;    // stored in byte 7
  file.Byte5InVersion1 = 0; // byte 5 does not count
  file.Reserved30 = 7;
  file.Information.Description = "not read";
  for (std::uint8_t order : {0, 1}) {
    file.ByteOrder = order;
    TSvSvqFile reader;
    reader.Open(Save(file));
    EXPECT_EQ(reader.CharacterSet(), 1);
    EXPECT_EQ(Field(reader.Header().CharacterSetV1), 0);
    EXPECT_EQ(Field(reader.Header().Reserved2), 0);
    EXPECT_EQ(Field(reader.Header().InformationOffset), 0u);
    EXPECT_EQ(WideToAnsi(reader.ReadLanguage(2)->Name, 0), "French");
  }
  // Version 0 is not version 1: byte 5 holds its character set.
  file.Version = 0;
  file.ByteOrder = 1;
  file.CharacterSet = 0;
  TSvSvqFile reader;
  reader.Open(Save(file));
  EXPECT_EQ(reader.CharacterSet(), 0);
  EXPECT_EQ(Field(reader.Header().Reserved2), 7);
  EXPECT_NE(Field(reader.Header().InformationOffset), 0u);
}

TEST_F(SvSvqFileTest, OpenFailsWithTheMessagesOfTheFormat) {
  TSvqTestFile file = ThreeLanguages();
  TSvSvqFile reader;
  EXPECT_EQ(ErrorOf([&] { reader.Open(FDir.File("none.svq")); }),
            "Cannot open file " + FDir.File("none.svq"));

  TSvqTestFile shortFile = file;
  shortFile.TruncateTo = 41;
  EXPECT_EQ(ErrorOf([&] { reader.Open(Save(shortFile)); }), "Stream read error");

  TSvqTestFile lower = file;
  lower.Magic = "svq";
  lower.TruncateTo = 42;
  EXPECT_EQ(ErrorOf([&] { reader.Open(Save(lower)); }), "The stream is not a valid SVQ stream");

  TSvqTestFile noLanguages = file;
  noLanguages.LanguageOffset = 0;
  EXPECT_EQ(ErrorOf([&] { reader.Open(Save(noLanguages)); }), "Invalid language offset");

  // Record 0 is decoded even when the header counts no languages.
  TSvqTestFile zero = file;
  zero.LanguageCount = 0;
  zero.LanguageOffset = static_cast<std::uint32_t>(file.Build().size());
  EXPECT_EQ(ErrorOf([&] { reader.Open(Save(zero)); }), "Stream read error");
  zero.LanguageOffset = 42;
  EXPECT_EQ(ErrorOf([&] { reader.Open(Save(zero)); }), "no error");
  EXPECT_EQ(WideToAnsi(reader.ReadLanguage(0)->Name, 0), "English");

  // A record cut short fails at Open; the reader keeps its stream until Close.
  TSvqTestFile cut = file;
  cut.TruncateTo = 50;
  EXPECT_EQ(ErrorOf([&] { reader.Open(Save(cut)); }), "Stream read error");
  EXPECT_NE(reader.Stream(), nullptr);
  reader.Close();
  reader.Close();
  EXPECT_EQ(reader.Stream(), nullptr);
}

TEST_F(SvSvqFileTest, RecordTailsAndShortLengthsKeepTheRecordsAligned) {
  TSvqTestFile file = ThreeLanguages();
  file.Languages[0].Tail = {1, 2, 3, 4, 5, 6};
  // Lengths 2, 0 and 1 are shorter than the fields: the next record follows them.
  file.Languages[1].RecordLength = 2;
  file.Languages.insert(file.Languages.begin() + 2, Language(0x10, "it", "Italian"));
  file.Languages[2].RecordLength = 0;
  file.Languages[3].RecordLength = 1;
  file.Languages.push_back(Language(0x13, "nl", "Dutch"));
  file.Rows.clear();
  for (std::uint8_t order : {0, 1}) {
    file.ByteOrder = order;
    TSvSvqFile reader;
    reader.Open(Save(file));
    reader.SeekLanguages();
    std::vector<std::string> forward;
    for (int i = 0; i < reader.LanguageCount(); ++i) {
      const TSvProjectLanguage* language = reader.ReadNextLanguage();
      forward.push_back(language->GetDisplayName(0) + ", " + language->GetId());
    }
    // A stored country without a table row for its language is dropped (de_US).
    EXPECT_EQ(forward, (std::vector<std::string>{"English, en_US", "German, de", "Italian, it",
                                                 "French, fr", "Dutch, nl"}));
    // Each record decodes the same from a fresh pass over the block.
    for (int i = 0; i < reader.LanguageCount(); ++i) {
      const TSvProjectLanguage* language = reader.ReadLanguage(i);
      EXPECT_EQ(language->GetDisplayName(0) + ", " + language->GetId(),
                forward[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(reader.ReadLanguage(-1), nullptr);
    EXPECT_EQ(reader.Stream()->Position(), 42u); // a negative index still seeks
  }
}

TEST_F(SvSvqFileTest, TailPastTheEndFailsOnlyAtTheNextRead) {
  TSvqTestFile file = ThreeLanguages();
  file.Rows.clear();
  file.Information.Present = false;
  file.Languages.resize(2);
  file.Languages[0].RecordLength = 60000;
  TSvSvqFile reader;
  reader.Open(Save(file)); // record 0 skips far beyond the end without an error
  reader.ReadLanguage(0);
  EXPECT_EQ(ErrorOf([&] { reader.ReadLanguage(1); }), "Stream read error");
}

TEST_F(SvSvqFileTest, ReadRowWithFewerAndMoreColumns) {
  TSvqTestFile file = ThreeLanguages();
  for (std::uint8_t order : {0, 1}) {
    file.ByteOrder = order;
    TSvSvqFile reader;
    reader.Open(Save(file));

    reader.SeekTranslations();
    TSvWideStringList all;
    std::string form = "kept", component = "kept";
    reader.ReadRow(all, -1, form, component);
    EXPECT_EQ(Texts(all), (std::vector<std::u16string>{u"Hello", u"Hallo", u""}));
    EXPECT_EQ(form, "TForm1");
    EXPECT_EQ(component, "Button1");
    TSvWideStringList wide;
    wide.Add(u"before"); // appended to, never cleared
    reader.ReadRow(wide, 5, form, component);
    EXPECT_EQ(Texts(wide), (std::vector<std::u16string>{u"before", u"Bye", u"Tsch\u00FCss",
                                                        u"Au revoir", u"", u""}));
    EXPECT_EQ(component, "Label1");

    // One column: the rest of the row is read and dropped, the next row follows.
    reader.SeekTranslations();
    TSvWideStringList one, zero;
    reader.ReadRow(one, 1, form, component);
    EXPECT_EQ(Texts(one), (std::vector<std::u16string>{u"Hello"}));
    // No column: the context strings are still read after the first text.
    reader.ReadRow(zero, 0, form, component);
    EXPECT_EQ(zero.Count(), 0);
    EXPECT_EQ(form, "TForm2");
    EXPECT_EQ(component, "Label1");
  }
}

TEST_F(SvSvqFileTest, ContextKindsDecideWhichStringsARowCarries) {
  TSvqTestFile file = ThreeLanguages();
  struct Case {
    std::uint8_t Kind;
    const char* Form;
    const char* Component;
  };
  for (const Case& c : {Case{0, "-", "-"}, Case{1, "TForm1", "Button1"}, Case{2, "-", "Button1"},
                        Case{3, "TForm1", "-"}, Case{0x81, "-", "-"}, Case{7, "-", "-"}}) {
    file.ContextKind = c.Kind;
    TSvSvqFile reader;
    reader.Open(Save(file));
    reader.SeekTranslations();
    TSvWideStringList first, second;
    std::string form = "-", component = "-";
    reader.ReadRow(first, -1, form, component);
    EXPECT_EQ(form, c.Form) << int(c.Kind);
    EXPECT_EQ(component, c.Component) << int(c.Kind);
    form = component = "-";
    reader.ReadRow(second, -1, form, component);
    EXPECT_EQ(second.Get(2), u"Au revoir") << int(c.Kind);
  }
}

TEST_F(SvSvqFileTest, RowTextsAreUtf16WhateverTheCharacterSet) {
  TSvqTestFile file = ThreeLanguages();
  file.CharacterSet = 2;
  file.Rows = {{{u"\u65E5\u672C", u"\U0001F600", u"a\u0000b"}, u"F", u"C"}};
  file.Rows[0].Texts[2] = std::u16string(u"a\0b", 3);
  TSvSvqFile reader;
  reader.Open(Save(file));
  reader.SeekTranslations();
  TSvWideStringList texts;
  std::string form, component;
  reader.ReadRow(texts, -1, form, component);
  EXPECT_EQ(Texts(texts), (std::vector<std::u16string>{u"\u65E5\u672C", u"\U0001F600",
                                                       std::u16string(u"a\0b", 3)}));
}

TEST_F(SvSvqFileTest, TranslationOffsetZero) {
  TSvqTestFile file = ThreeLanguages();
  file.TranslationOffset = 0;
  TSvSvqFile reader;
  reader.Open(Save(file));
  EXPECT_EQ(ErrorOf([&] { reader.SeekTranslations(); }), "Invalid translation offset");
}

TEST_F(SvSvqFileTest, InformationOfEachVersion) {
  TSvqTestFile file = ThreeLanguages();
  file.Information.Description = "Desc";
  file.Information.Owner = "Own";
  file.Information.Users = {"Ann", "Bob"};
  file.Information.Day = 9;
  file.Information.Month = 12;
  file.Information.Year = 2026;
  file.Information.Hour = 18;

  for (std::uint8_t version : {2, 3, 4}) {
    for (std::uint8_t order : {0, 1}) {
      file.Version = version;
      file.ByteOrder = order;
      TSvSvqFile reader;
      reader.Open(Save(file));
      std::string description = "x", owner = "x";
      std::vector<std::string> users{"old"};
      TSvDateTime time = 42;
      reader.ReadInformation(description, owner, &users, time);
      EXPECT_EQ(description, "Desc");
      EXPECT_EQ(owner, "Own");
      EXPECT_EQ(users, (std::vector<std::string>{"old", "Ann", "Bob"}));
      EXPECT_DOUBLE_EQ(time, version == 2 ? 42 : 46365.75) << int(version);
      // No list: the users are read and dropped, the time still follows them.
      time = 1;
      reader.ReadInformation(description, owner, nullptr, time);
      EXPECT_DOUBLE_EQ(time, version == 2 ? 1 : 46365.75);
    }
  }

  file.Version = 1;
  TSvSvqFile v1;
  v1.Open(Save(file));
  std::string description = "x", owner = "x";
  std::vector<std::string> users{"old"};
  TSvDateTime time = 42;
  v1.ReadInformation(description, owner, &users, time);
  EXPECT_EQ(description, "");
  EXPECT_EQ(owner, "");
  EXPECT_EQ(users, std::vector<std::string>{"old"});
  EXPECT_EQ(time, 42);

  file.Version = 3;
  file.Information.Present = false;
  TSvSvqFile absent;
  absent.Open(Save(file));
  description = owner = "x";
  absent.ReadInformation(description, owner, &users, time);
  EXPECT_EQ(description, "x");
  EXPECT_EQ(owner, "x");
  EXPECT_EQ(time, 42);
}

TEST_F(SvSvqFileTest, EightBitInformationIsReturnedAsStored) {
  TSvqTestFile file = ThreeLanguages();
  file.CharacterSet = 1;
  file.Information.Description = "Caf\xE9";
  file.Information.Owner = "\xC3\xA9t\xE9";
  TSvSvqFile reader;
  reader.Open(Save(file));
  std::string description, owner;
  TSvDateTime time = 0;
  reader.ReadInformation(description, owner, nullptr, time);
  EXPECT_EQ(description, "Caf\xE9");
  EXPECT_EQ(owner, "\xC3\xA9t\xE9");
}

TEST_F(SvSvqFileTest, InvalidTimeStampsBecomeZero) {
  struct Case {
    int Day, Month, Year, Hour, Minute, Second;
    double Expected;
  };
  const Case cases[] = {
      {31, 2, 2024, 0, 0, 0, 0},      {29, 2, 2024, 0, 0, 0, 45351},
      {29, 2, 1900, 0, 0, 0, 0},      {29, 2, 2000, 12, 0, 0, 36585.5},
      {0, 5, 2024, 1, 1, 1, 0},       {1, 0, 2024, 1, 1, 1, 0},
      {1, 1, 0, 1, 1, 1, 0},          {1, 13, 2024, 0, 0, 0, 0},
      {1, 1, 2024, 24, 0, 0, 0},      {1, 1, 2024, 0, 60, 0, 0},
      {1, 1, 2024, 0, 0, 60, 0},      {31, 12, 9999, 0, 0, 0, 2958465},
      {1, 1, 10000, 0, 0, 0, 0},      {30, 12, 1899, 0, 0, 0, 0},
      {29, 12, 1899, 6, 0, 0, -0.75}, {1, 1, 1, 0, 0, 0, -693593},
      {32, 1, 2024, 0, 0, 0, 0},      {30, 4, 2024, 23, 59, 59, 45412 + 86399 / 86400.0},
  };
  TSvqTestFile file = ThreeLanguages();
  for (const Case& c : cases) {
    file.Information.Day = static_cast<std::uint8_t>(c.Day);
    file.Information.Month = static_cast<std::uint8_t>(c.Month);
    file.Information.Year = static_cast<std::uint16_t>(c.Year);
    file.Information.Hour = static_cast<std::uint8_t>(c.Hour);
    file.Information.Minute = static_cast<std::uint8_t>(c.Minute);
    file.Information.Second = static_cast<std::uint8_t>(c.Second);
    TSvSvqFile reader;
    reader.Open(Save(file));
    std::string description, owner;
    TSvDateTime time = 99;
    reader.ReadInformation(description, owner, nullptr, time);
    EXPECT_NEAR(time, c.Expected, 1e-9) << c.Day << "." << c.Month << "." << c.Year << " " << c.Hour
                                        << ":" << c.Minute << ":" << c.Second;
  }
}

TEST_F(SvSvqFileTest, InformationCutShortRaisesTheReadError) {
  TSvqTestFile file = ThreeLanguages();
  file.Information.Users = {"Ann"};
  file.Information.Day = 1;
  file.Information.Month = 1;
  file.Information.Year = 2000;
  file.TruncateTo = file.Build().size() - 1;
  TSvSvqFile reader;
  reader.Open(Save(file));
  std::string description, owner;
  std::vector<std::string> users;
  TSvDateTime time = 5;
  EXPECT_EQ(ErrorOf([&] { reader.ReadInformation(description, owner, &users, time); }),
            "Stream read error");
  EXPECT_EQ(users, std::vector<std::string>{"Ann"});
  EXPECT_EQ(time, 5);
}

TEST_F(SvSvqFileTest, PrimitiveReadersCountDownTheStream) {
  TSvqTestFile file = ThreeLanguages();
  TSvSvqFile reader;
  reader.Open(Save(file));
  EXPECT_EQ(reader.ReadAnsiChars(0), "");
  EXPECT_EQ(reader.ReadAnsiChars(-3), "");
  EXPECT_EQ(reader.ReadWideChars(-1), u"");
  EXPECT_EQ(reader.Stream()->Position(), 42u);
  reader.Skip(2); // the record length
  EXPECT_EQ(reader.ReadWord(), 9);
  EXPECT_EQ(reader.ReadChars(2, 0), "en");
  EXPECT_EQ(reader.ReadWord(), 1);
  EXPECT_EQ(reader.ReadWideChars(2), u"US");
}

TEST_F(SvSvqFileTest, DamagedFilesRaiseErrorsAndNothingElse) {
  // Bytes flipped and files cut at random: every read either succeeds or raises
  // one of the library's errors (under the sanitizers: without a memory fault).
  TSvqTestFile base = ThreeLanguages();
  base.Languages[1].Tail = {1, 2, 3};
  base.Information.Users = {"Ann"};
  base.Information.Day = 1;
  base.Information.Month = 2;
  base.Information.Year = 2003;
  const std::vector<std::uint8_t> good = base.Build();
  std::mt19937 random(7);
  int opened = 0;
  for (int round = 0; round < 200; ++round) {
    std::vector<std::uint8_t> bytes = good;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int f = 0; f < flips; ++f)
      bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    if (round % 3 == 0)
      bytes.resize(random() % bytes.size());
    bytes[0] = 'S'; // mostly past the magic check
    if (bytes.size() > 2) {
      bytes[1] = 'V';
      bytes[2] = 'Q';
    }
    const std::string path = FDir.File("damaged.svq");
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }
    TSvSvqFile reader;
    try {
      reader.Open(path);
      ++opened;
      reader.SeekLanguages();
      for (int i = 0; i < reader.LanguageCount(); ++i)
        reader.ReadNextLanguage();
      reader.SeekTranslations();
      std::string form, component;
      for (int r = 0; r < reader.RowCount(); ++r) {
        TSvWideStringList texts;
        reader.ReadRow(texts, reader.LanguageCount(), form, component);
        ASSERT_EQ(texts.Count(), reader.LanguageCount());
      }
      std::string description, owner;
      std::vector<std::string> users;
      TSvDateTime time = 0;
      reader.ReadInformation(description, owner, &users, time);
      EXPECT_TRUE(time == 0 || (time > -693594 && time < 2958466));
    } catch (const ESvError&) {
    }
  }
  EXPECT_GT(opened, 50); // the damage is not all caught at the header
}

// Row views and the strings as stored, over every version, byte order, character
// set and context kind: what the writer put in comes out, UTF-16 never narrowed.
TEST_F(SvSvqFileTest, RowViewsAndStoredStringsGiveWhatWasWritten) {
  TSvqTestFile file = ThreeLanguages();
  file.Rows.push_back({{u"\xD800 lone", std::u16string(u"a\0b", 3), u"\U0001F600"},
                       u"\u00C9cran", u"\u65E5"});
  file.Languages[1].Name = "Deutsch \xC3\xA4";
  file.Information.Description = "D\xC3\xA9scription";
  file.Information.Users = {"Ann", ""};
  file.Information.Day = 2, file.Information.Month = 3, file.Information.Year = 2024;
  for (int variant = 0; variant < 3 * 2 * 3 * 5; ++variant) {
    file.Version = static_cast<std::uint8_t>(1 + variant % 3);
    file.ByteOrder = static_cast<std::uint8_t>(variant / 3 % 2);
    file.CharacterSet = static_cast<std::uint8_t>(variant / 6 % 3);
    file.Byte5InVersion1 = file.CharacterSet;
    file.ContextKind = static_cast<std::uint8_t>(variant / 18);
    const std::string trace = "variant " + std::to_string(variant);
    TSvSvqFile reader;
    reader.Open(Save(file));
    reader.ReadLanguage(1);
    const TSvSvqString& name = reader.LanguageStrings().Name;
    EXPECT_EQ(name.Wide, file.CharacterSet == 0) << trace;
    EXPECT_TRUE(name.Wide ? name.Units == u"Deutsch \u00E4" : name.Bytes == "Deutsch \xC3\xA4")
        << trace;
    reader.SeekTranslations();
    for (const auto& row : file.Rows) {
      const TSvSvqRowView& view = reader.ReadRowView();
      ASSERT_EQ(view.Texts.size(), 3u) << trace;
      for (int c = 0; c < 3; ++c)
        EXPECT_EQ(view.Texts[c], row.Texts[c]) << trace;
      EXPECT_EQ(view.HasFormType, HasFormType(file.ContextKind)) << trace;
      EXPECT_EQ(view.FormType, view.HasFormType ? row.FormType : u"") << trace;
      EXPECT_EQ(view.ComponentName, view.HasComponentName ? row.ComponentName : u"") << trace;
    }
    const TSvSvqInformation information = reader.ReadInformationStrings();
    EXPECT_EQ(information.Present, file.Version > 1) << trace;
    if (file.Version > 1) {
      const TSvSvqString& text = information.Description;
      EXPECT_TRUE(text.Wide ? text.Units == u"D\u00E9scription" : text.Bytes == "D\xC3\xA9scription")
          << trace;
      EXPECT_EQ(information.Users.size(), 2u) << trace;
      EXPECT_EQ(information.Time != 0, file.Version > 2) << trace;
    }
  }
}
