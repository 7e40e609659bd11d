// The shared part of the writers against ICU: language tags are well-formed BCP 47
// and unique, and 8-bit names read as UTF-8 are replaced as ICU replaces them.
#include "export/SvExportCodes.h"
#include "export/SvExportText.h"
#include "locale/SvLocaleCodes.h"
#include "locale/SvLocaleTables.h"

#include <gtest/gtest.h>
#include <random>
#include <set>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

using namespace sv;

namespace {

bool IcuAcceptsWhole(const std::string& tag) {
  char locale[256];
  int32_t parsed = 0;
  UErrorCode status = U_ZERO_ERROR;
  uloc_forLanguageTag(tag.c_str(), locale, sizeof locale, &parsed, &status);
  return U_SUCCESS(status) && parsed == static_cast<int32_t>(tag.size());
}

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

} // namespace

TEST(SvExportCodesTest, EveryLocaleOfTheTablesAndEveryBrokenCodeGetsAUniqueWellFormedTag) {
  std::vector<std::string> codes;
  for (const TSvLocaleData& row : LocaleTable()) {
    if (!*row.Language)
      continue;
    for (std::size_t script = 0; script < ScriptTable().size(); ++script)
      codes.push_back(LocaleCodeOf(row.Language, row.Country, row.Variant,
                                   static_cast<TSvScript>(script)));
  }
  // Old files: numeric, half and missing codes, repeats in other case.
  for (const char* broken : {"", "85_US", "de_12", "_US", "d", "de_DE.xyz", "DE_de", "de_DE",
                             "zh_TW_x", "es_ES_MOD", "se__INARI", "en_US_TOOLONGVARIANT"})
    codes.push_back(broken);
  const std::vector<std::string> tags = UniqueLanguageTags(codes);
  ASSERT_EQ(tags.size(), codes.size());
  std::set<std::string> seen;
  for (std::size_t i = 0; i < tags.size(); ++i) {
    EXPECT_TRUE(IcuAcceptsWhole(tags[i])) << codes[i] << " -> " << tags[i];
    EXPECT_TRUE(seen.insert(Lower(tags[i])).second) << codes[i] << " -> " << tags[i];
  }
  EXPECT_EQ(*LanguageTagOf("sr_SP.lat"), "sr-Latn-SP");
  EXPECT_EQ(*LanguageTagOf("de_DE"), "de-DE");
  EXPECT_FALSE(LanguageTagOf("85_US") || LanguageTagOf("de_12") || LanguageTagOf("_US"));
}

TEST(SvExportTextTest, InvalidUtf8IsReplacedAsIcuReplacesIt) {
  std::mt19937 random(7);
  // Bytes around the edges of the well-formed ranges.
  const unsigned char bytes[] = {0x41, 0x7F, 0x80, 0xBF, 0xC0, 0xC2, 0xDF, 0xE0, 0xA0, 0xED,
                                 0x9F, 0xEF, 0xF0, 0x90, 0xF4, 0x8F, 0xF5, 0xFF, 0x00};
  for (int round = 0; round < 20000; ++round) {
    std::string input(random() % 9, '\0');
    for (char& c : input)
      c = static_cast<char>(bytes[random() % sizeof bytes]);
    std::string ours;
    const std::size_t replaced = AppendValidUtf8(input, ours);

    std::u16string icu(input.size() + 1, u'\0');
    int32_t length = 0, substitutions = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(icu.data(), static_cast<int32_t>(icu.size()), &length, input.data(),
                         static_cast<int32_t>(input.size()), 0xFFFD, &substitutions, &status);
    ASSERT_TRUE(U_SUCCESS(status));
    icu.resize(static_cast<std::size_t>(length));
    std::string expected;
    AppendUtf8Replacing(icu, expected);
    EXPECT_EQ(ours, expected) << round;
    EXPECT_EQ(replaced, static_cast<std::size_t>(substitutions)) << round;
  }
}

TEST(SvExportTextTest, EveryEscapeWritesUtf16AsItWritesTheSameTextInUtf8) {
  // The UTF-16 path converts runs in vectors and escapes between them; the UTF-8
  // path goes one code point at a time. Texts of every length around the vector
  // widths, with specials, controls, pairs and U+FFFE at any place.
  const char16_t pool[] = {u'a', u'Z', u' ', u'&', u'<', u'>', u'"', u'\\', u'\'', u'\t', u'\n',
                           u'\r', 0x00, 0x04, 0x0B, 0x1F, 0x7F, 0xE9, 0x416, 0x65E5, 0xFFFE, 0xFFFF};
  std::mt19937 random(11);
  for (int round = 0; round < 20000; ++round) {
    std::u16string text;
    const std::size_t length = random() % 40;
    while (text.size() < length) {
      if (random() % 12 == 0)
        text += u"\U0001F600";
      else if (random() % 3 == 0)
        text += pool[random() % std::size(pool)];
      else
        text += static_cast<char16_t>(u'a' + random() % 26);
    }
    std::string utf8;
    AppendUtf8Replacing(text, utf8);
    for (TSvEscape escape : {TSvEscape::Plain, TSvEscape::XmlText, TSvEscape::XmlAttribute,
                             TSvEscape::XmlTextCp, TSvEscape::Json, TSvEscape::Po, TSvEscape::Csv}) {
      std::string wide = "x", narrow = "x";
      EXPECT_EQ(AppendEscaped(text, escape, wide), AppendEscaped(std::string_view(utf8), escape, narrow));
      ASSERT_EQ(wide, narrow) << round << " escape " << static_cast<int>(escape);
    }
  }
}
