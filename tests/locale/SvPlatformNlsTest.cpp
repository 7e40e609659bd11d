#include "locale/SvPlatformNls.h"

#include <gtest/gtest.h>

#include <string>

namespace sv {
namespace {

TEST(SvPlatformNls, NativeNamesFromIcu) {
  EXPECT_EQ(GetLocaleInfoW(0x0407, LOCALE_SNATIVELANGNAME), u"Deutsch");
  EXPECT_EQ(GetLocaleInfoW(0x0407, LOCALE_SNATIVECTRYNAME), u"Deutschland");
  EXPECT_EQ(GetLocaleInfoW(0x0411, LOCALE_SNATIVELANGNAME), u"\u65E5\u672C\u8A9E");
  EXPECT_EQ(GetLocaleInfoW(0x0411, LOCALE_SNATIVECTRYNAME), u"\u65E5\u672C");
  EXPECT_EQ(GetLocaleInfoW(0x0C07, LOCALE_SNATIVECTRYNAME), u"\u00D6sterreich");
  EXPECT_EQ(GetLocaleInfoW(0x0C1A, LOCALE_SNATIVELANGNAME),
            u"\u0441\u0440\u043F\u0441\u043A\u0438");
}

TEST(SvPlatformNls, EnglishCountryNames) {
  EXPECT_EQ(GetLocaleInfoW(0x0C07, LOCALE_SENGCOUNTRY), u"Austria");
  EXPECT_EQ(GetLocaleInfoW(0x0411, LOCALE_SENGCOUNTRY), u"Japan");
  EXPECT_EQ(GetLocaleInfoW(0x0431, LOCALE_SENGCOUNTRY), u"South Africa");
  EXPECT_EQ(GetLocaleInfoW(0x10407, LOCALE_SENGCOUNTRY), u"Germany"); // a sort identifier
  EXPECT_EQ(GetLocaleInfoW(0x0009, LOCALE_SENGCOUNTRY), u"") << "no country in a neutral locale";
}

TEST(SvPlatformNls, DefaultAnsiCodePageFromTheTables) {
  EXPECT_EQ(GetLocaleInfoW(0x0407, LOCALE_IDEFAULTANSICODEPAGE), u"1252");
  EXPECT_EQ(GetLocaleInfoW(0x0419, LOCALE_IDEFAULTANSICODEPAGE), u"1251");
  EXPECT_EQ(GetLocaleInfoW(0x081A, LOCALE_IDEFAULTANSICODEPAGE), u"1250");
  EXPECT_EQ(GetLocaleInfoW(0x0C1A, LOCALE_IDEFAULTANSICODEPAGE), u"1251");
  EXPECT_EQ(GetLocaleInfoW(0x0411, LOCALE_IDEFAULTANSICODEPAGE), u"932");
  EXPECT_EQ(GetLocaleInfoW(0x0007, LOCALE_IDEFAULTANSICODEPAGE), u"1252");
  EXPECT_EQ(GetLocaleInfoW(0x0439, LOCALE_IDEFAULTANSICODEPAGE), u"0") << "Unicode only";
  EXPECT_EQ(GetLocaleInfoW(0x0455, LOCALE_IDEFAULTANSICODEPAGE), u"0") << "not in our tables";
}

TEST(SvPlatformNls, NarrowedToTheSystemCodePage) {
  EXPECT_EQ(GetLocaleInfoA(0x0C07, LOCALE_SENGCOUNTRY), "Austria");
  EXPECT_EQ(GetLocaleInfoA(0x0407, LOCALE_SNATIVECTRYNAME), "Deutschland");
  EXPECT_EQ(GetLocaleInfoA(0x0419, LOCALE_IDEFAULTANSICODEPAGE), "1251");
  EXPECT_EQ(GetLocaleInfoA(0xFFFF, LOCALE_SNATIVELANGNAME), "");
}

TEST(SvPlatformNls, UnknownIdentifiersGiveEmptyText) {
  for (std::uint32_t locale : {0x0000u, 0xFFFFu, 0x7F7Fu}) {
    SCOPED_TRACE(locale);
    EXPECT_EQ(GetLocaleInfoW(locale, LOCALE_SNATIVELANGNAME), u"");
    EXPECT_EQ(GetLocaleInfoW(locale, LOCALE_SNATIVECTRYNAME), u"");
    EXPECT_EQ(GetLocaleInfoW(locale, LOCALE_SENGCOUNTRY), u"");
    EXPECT_EQ(GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE), u"");
  }
}

} // namespace
} // namespace sv
