#include "locale/SvLang.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>

#include <map>

using namespace sv;
using namespace std::string_literals;

TEST(SvLang, ConvertsWithSubstitutes) {
  TSvLang lang;
  // ICU's ISCII names the script first (ATR 0xEF, 0x42 Devanagari).
  EXPECT_EQ(lang.ConvertFromUnicode(u"कख", 57002), "\xEF\x42\xB3\xB4");
  EXPECT_EQ(lang.ConvertToUnicode("\xB3\xB4", 57002), u"कख");
  EXPECT_EQ(lang.ConvertToUnicode("\xEF\x42\xB3", 57002), u"क");
  EXPECT_EQ(lang.LastResult(), kSvOk);
  // ICU would write 0x1A and U+001A for these; the service writes "?" and U+FFFD.
  EXPECT_EQ(lang.ConvertFromUnicode(u"a中", 1253), "a?");
  EXPECT_EQ(lang.ConvertToUnicode("a\xD2", 1253), u"a\uFFFD");
  EXPECT_EQ(lang.ConvertFromUnicode(u"中", 1047), "\x6F");
  EXPECT_EQ(lang.ConvertFromUnicode(u"\xDC00"s, 1252), "?");
  EXPECT_EQ(lang.ConvertToUnicode("a\x81", 932), u"a\uFFFD");
  EXPECT_EQ(lang.ConvertFromUnicode(u"", 1252), "");
  EXPECT_TRUE(lang.Available());
}

TEST(SvLang, LongTextGoesInSlices) {
  TSvLang lang;
  const std::u16string text(3'000'000, u'क');
  const std::string bytes = lang.ConvertFromUnicode(text, 57002);
  EXPECT_TRUE(bytes == "\xEF\x42" + std::string(3'000'000, '\xB3')) << bytes.size();
  EXPECT_TRUE(lang.ConvertToUnicode(bytes, 57002) == text);
}

TEST(SvLang, UnknownCodePageRaisesAndStaysAvailable) {
  TSvLang lang;
  try {
    lang.ConvertToUnicode("abc", 12345);
    FAIL();
  } catch (const ESvError& e) {
    EXPECT_STREQ(e.what(), "Unknown code page");
  }
  EXPECT_EQ(lang.LastResult(), kSvFalse);
  EXPECT_THROW(lang.ConvertFromUnicode(u"abc", 20261), ESvError);
  EXPECT_TRUE(lang.Available());
}

TEST(SvLang, CheckResultOutcomes) {
  TSvLang lang;
  lang.ConvertFromUnicode(u"a", 1252);
  EXPECT_NO_THROW(lang.CheckResult("failed", "unknown"));
  lang.SetLastResult(kSvFalse);
  try {
    lang.CheckResult("failed", "unknown");
    FAIL();
  } catch (const ESvError& e) {
    EXPECT_STREQ(e.what(), "unknown");
  }
  EXPECT_TRUE(lang.Available());
  lang.SetLastResult(kSvFail);
  try {
    lang.CheckResult("Could convert the string", "Unknown code page");
    FAIL();
  } catch (const ESvError& e) {
    EXPECT_STREQ(e.what(), "Could convert the string");
  }
  EXPECT_FALSE(lang.Available());
}

TEST(SvLang, EnumeratesTheTableCodePagesIcuConverts) {
  TSvLang lang;
  std::map<int, std::string> names;
  int events = 0;
  lang.SetOnCodePage([&](TSvLang& sender, int, const std::string&, const std::string&) {
    EXPECT_EQ(&sender, &lang);
    ++events;
  });
  lang.EnumCodePages([&](int codePage, const std::string& name, const std::string& description) {
    EXPECT_FALSE(description.empty());
    names[codePage] = name;
  });
  EXPECT_EQ(events, static_cast<int>(names.size()));
  EXPECT_EQ(names.at(57002), "ISCII,version=0");
  EXPECT_EQ(names.at(57011), "ISCII,version=2");
  EXPECT_EQ(names.at(1047), "ibm-1047_P100-1995");
  EXPECT_EQ(names.count(1252), 1u);
  EXPECT_EQ(names.count(20261), 0u);
  EXPECT_EQ(lang.LastResult(), kSvFalse); // the end of the list
}
