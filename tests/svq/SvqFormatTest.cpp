// The header layout and the test writer that every reader test relies on.
#include "svq/SvSvqFormat.h"
#include "tests/support/SvqTestWriter.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace sv;
using sv::test::TSvqTestFile;

namespace {

std::uint16_t Word(const std::vector<std::uint8_t>& d, std::size_t at, bool big) {
  return big ? static_cast<std::uint16_t>(d[at] << 8 | d[at + 1])
             : static_cast<std::uint16_t>(d[at + 1] << 8 | d[at]);
}
std::uint32_t DWord(const std::vector<std::uint8_t>& d, std::size_t at, bool big) {
  return big ? static_cast<std::uint32_t>(Word(d, at, true)) << 16 | Word(d, at + 2, true)
             : static_cast<std::uint32_t>(Word(d, at + 2, false)) << 16 | Word(d, at, false);
}

TSvqTestFile TwoLanguages() {
  TSvqTestFile file;
  file.Languages.resize(2);
  file.Languages[1].Primary = 7;
  file.Languages[1].LanguageCode = "de";
  file.Rows = {{{u"Hello", u"Hallo"}, u"", u""}};
  file.Information.Description = "d";
  return file;
}

} // namespace

TEST(SvqFormat, CodesAreTestedAsTheFormatSays) {
  EXPECT_TRUE(SwapsBytes(0));
  EXPECT_FALSE(SwapsBytes(1));
  EXPECT_FALSE(SwapsBytes(7)); // any other value is little-endian
  EXPECT_FALSE(HasAnsiStrings(0));
  EXPECT_TRUE(HasAnsiStrings(1));
  EXPECT_TRUE(HasAnsiStrings(200));
  EXPECT_TRUE(HasFormType(1) && HasFormType(3));
  EXPECT_FALSE(HasFormType(2) || HasFormType(0) || HasFormType(4));
  EXPECT_TRUE(HasComponentName(1) && HasComponentName(2));
  EXPECT_FALSE(HasComponentName(3) || HasComponentName(0) || HasComponentName(129));
}

TEST(SvqTestWriter, HeaderFieldsLandAtTheirOffsets) {
  for (std::uint8_t order : {0, 1}) {
    TSvqTestFile file = TwoLanguages();
    file.ByteOrder = order;
    file.ContextKind = 2;
    file.LocaleCount = 5;
    const auto data = file.Build();
    const bool big = order == 0;
    TSvSvqHeader header;
    std::memcpy(&header, data.data(), sizeof header);
    EXPECT_EQ(std::string(header.Magic, 3), "SVQ");
    EXPECT_EQ(header.Version, 3);
    EXPECT_EQ(header.ByteOrder, order);
    EXPECT_EQ(header.ContextKind, 2);
    EXPECT_EQ(Word(data, 12, big), 2);
    EXPECT_EQ(DWord(data, 14, big), 42u);
    EXPECT_EQ(Word(data, 18, big), 1);
    EXPECT_EQ(Word(data, 24, big), 5);
    EXPECT_NE(DWord(data, 20, big), 0u);
    EXPECT_NE(DWord(data, 32, big), 0u);
    // First record: length, then the primary language.
    const std::uint16_t length = Word(data, 42, big);
    EXPECT_EQ(Word(data, 44, big), 9);
    EXPECT_EQ(Word(data, 42 + length + 2, big), 7); // the next record follows the length
  }
}

TEST(SvqTestWriter, VersionOneKeepsItsCharacterSetInByteSeven) {
  TSvqTestFile file = TwoLanguages();
  file.Version = 1;
  file.CharacterSet = 1;
  file.Byte5InVersion1 = 0;
  file.InformationOffset = 1234; // stored, and ignored by readers
  const auto data = file.Build();
  EXPECT_EQ(data[5], 0);
  EXPECT_EQ(data[7], 1);
  EXPECT_EQ(DWord(data, 32, false), 1234u);
  // Version 1 records: no length, no codes: primary then sublanguage.
  EXPECT_EQ(Word(data, 42, false), 9);
  EXPECT_EQ(Word(data, 44, false), 1);
}

TEST(SvqTestWriter, StringsFollowTheCharacterSet) {
  TSvqTestFile wide = TwoLanguages();
  wide.Version = 2;
  wide.Languages.resize(1);
  wide.Languages[0].Text1 = "\xC3\xBC"; // ü: one UTF-16 unit
  auto data = wide.Build();
  // primary(2) code(4) sub(2) country(4): then the text's count and unit.
  EXPECT_EQ(Word(data, 42 + 12, false), 1);
  EXPECT_EQ(Word(data, 42 + 14, false), 0xFC);

  TSvqTestFile ansi = wide;
  ansi.CharacterSet = 2;
  data = ansi.Build();
  // primary(2) code(2) sub(2) country(2): the UTF-8 bytes stand as they are.
  EXPECT_EQ(Word(data, 42 + 8, false), 2);
  EXPECT_EQ(data[42 + 10], 0xC3);
  EXPECT_EQ(data[42 + 11], 0xBC);
}

TEST(SvqTestWriter, RowsCarryTheirContextAfterLanguageZero) {
  TSvqTestFile file = TwoLanguages();
  file.ContextKind = 1;
  file.Rows = {{{u"A", u"B"}, u"F", u"C"}};
  const auto data = file.Build();
  std::size_t at = DWord(data, 20, false);
  std::u16string seen;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Word(data, at, false), 1);
    seen.push_back(static_cast<char16_t>(Word(data, at + 2, false)));
    at += 4;
  }
  EXPECT_EQ(seen, u"AFCB");
}

TEST(SvqTestWriter, BrokenFiles) {
  TSvqTestFile file = TwoLanguages();
  file.Magic = "svq";
  file.LanguageOffset = 0;
  file.TruncateTo = 30;
  const auto data = file.Build();
  EXPECT_EQ(data.size(), 30u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 3), "svq");
  EXPECT_EQ(DWord(data, 14, false), 0u);
}

TEST(SvqTestWriter, ShippedSampleIsTheGeneratedOne) {
  std::ifstream shipped(SV_SOURCE_DIR "/examples/sample.svq", std::ios::binary);
  ASSERT_TRUE(shipped);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(shipped)),
                                        std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, sv::test::SampleDictionary().Build());
}
