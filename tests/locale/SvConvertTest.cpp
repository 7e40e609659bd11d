#include "locale/SvConvert.h"
#include "locale/SvCodePageNames.h"
#include "locale/SvLang.h"
#include "locale/SvLocaleTables.h"
#include "locale/SvPlatformConvert.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <optional>

using namespace sv;
using namespace std::string_literals;

namespace {

struct TVector {
  int CodePage;
  std::u16string Wide;
  std::string Bytes;
};

} // namespace

TEST(SvConvert, VectorsOfTheInstalledCodePages) {
  const TVector vectors[] = {
      {1252, u"Grüße", "\x47\x72\xFC\xDF\x65"},
      {1252, u"€", "\x80"},
      {1250, u"łŚ", "\xB3\x8C"},
      {1251, u"Жя", "\xC6\xFF"},
      {1253, u"Ω", "\xD9"},
      {1254, u"ğ", "\xF0"},
      {1255, u"א", "\xE0"},
      {1256, u"ع", "\xDA"},
      {1257, u"ą", "\xE0"},
      {1258, u"đ", "\xF0"},
      {874, u"ก", "\xA1"},
      {932, u"日本\\", "\x93\xFA\x96\x7B\x5C"}, // 0x5C is the backslash in 932
      {936, u"中文", "\xD6\xD0\xCE\xC4"},
      {949, u"한국", "\xC7\xD1\xB1\xB9"},
      {950, u"中文", "\xA4\xA4\xA4\xE5"},
      {28591, u"é", "\xE9"},
      {28592, u"ł", "\xB3"},
      {28593, u"ĥ", "\xB6"},
      {28594, u"ā", "\xE0"},
      {28595, u"Ж", "\xB6"},
      {28596, u"ع", "\xD9"},
      {28597, u"Ω", "\xD9"},
      {28598, u"א", "\xE0"},
      {28599, u"ğ", "\xF0"},
      {28605, u"€", "\xA4"},
      {20866, u"Ж", "\xF6"},
      {21866, u"ї", "\xA7"},
      {1047, u"Aa?", "\xC1\x81\x6F"},
      {65001, u"Grüße",
       "Gr\xC3\xBC\xC3\x9F"
       "e"},
      {1200, u"A\0b"s, "A\0\0\0b\0"s}, // zero bytes are parts of the units here
      {1201, u"Ab", "\0A\0b"s},
  };
  for (const TVector& v : vectors) {
    SCOPED_TRACE(v.CodePage);
    EXPECT_TRUE(IsCodePageInstalled(v.CodePage));
    EXPECT_EQ(WideToAnsi(v.Wide, v.CodePage), v.Bytes);
    EXPECT_EQ(AnsiToWide(v.Bytes, v.CodePage), v.Wide);
  }
}

TEST(SvConvert, UnrepresentableBecomesQuestionMarkOfTheCodePage) {
  EXPECT_EQ(WideToAnsi(u"a中b", 1252), "a?b");
  EXPECT_EQ(WideToAnsi(u"😀", 1252), "?");     // one "?" for a surrogate pair
  EXPECT_EQ(WideToAnsi(u"中", 1047), "\x6F"); // "?" in EBCDIC
  EXPECT_EQ(WideToAnsi(u"x\xD800y"s, 1252), "x?y");
  // ISO 2022: the "?" stands in ASCII mode between two Kanji.
  EXPECT_EQ(WideToAnsi(u"日€日", 50220), "\x1B$BF|\x1B(B?\x1B$BF|\x1B(B");
}

TEST(SvConvert, InvalidInputBecomesReplacementCharacter) {
  EXPECT_EQ(AnsiToWide("a\x81z", 1252), u"a\uFFFDz"); // 0x81 is unassigned
  EXPECT_EQ(AnsiToWide("a\x81", 932), u"a\uFFFD");    // lead byte at the end
  EXPECT_EQ(AnsiToWide("\xC3(", 65001), u"\uFFFD(");
  EXPECT_EQ(AnsiToWide("\xE2\x82", 65001), u"\uFFFD"); // one for the truncated sequence
  EXPECT_EQ(AnsiToWide("\xED\xA0\x80", 65001), u"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
  EXPECT_EQ(AnsiToWide("\xF0\x9F\x98\x80!", 65001), u"😀!");
  EXPECT_EQ(AnsiToWide("\xFF", 0), u"\uFFFD");
}

TEST(SvConvert, Utf16CodePagesReadUnitByUnit) {
  // An unpaired surrogate is one unit; the units after it are read as they stand.
  EXPECT_EQ(AnsiToWide("\x41\x00\x00\xD8\x42\x00\x43\x00"s, 1200), u"A\uFFFDBC");
  EXPECT_EQ(AnsiToWide("\x00\x41\xD8\x00\x00\x42\x00\x43"s, 1201), u"A\uFFFDBC");
  EXPECT_EQ(AnsiToWide("\x00\xDC\x00\xD8"s, 1200), u"\uFFFD\uFFFD");
  // A pair stays a pair; an odd byte at the end is one U+FFFD.
  EXPECT_EQ(AnsiToWide("\x3D\xD8\x00\xDE\x41"s, 1200), u"😀\uFFFD");
  EXPECT_EQ(AnsiToWide("\xD8\x3D\xDE\x00\x00"s, 1201), u"😀\uFFFD");
  EXPECT_EQ(AnsiToWide("\x41"s, 1200), u"\uFFFD");
  // Zero bytes are halves of units, not separators.
  EXPECT_EQ(AnsiToWide("\x00\x00\x41\x00"s, 1200), u"\0A"s);
}

TEST(SvConvert, UnpairedSurrogateIsReplacementCharacterWhereTheCodePageHoldsIt) {
  EXPECT_EQ(WideToAnsi(u"a\xD800z"s, 1200), "a\0\xFD\xFFz\0"s);
  EXPECT_EQ(WideToAnsi(u"a\xDC00z"s, 1201), "\0a\xFF\xFD\0z"s);
  EXPECT_EQ(WideToAnsi(u"😀"s, 1201), "\xD8\x3D\xDE\x00"s);
  EXPECT_EQ(WideToAnsi(u"a\xD800z"s, 65000), "a+//0-z");
  EXPECT_EQ(WideToAnsi(u"a\xD800z"s, 54936), "a\x84\x31\xA4\x37z");
  // Each Unicode code page writes U+FFFD in its own form; the others "?".
  for (int codePage : {65000, 65001, 54936, 1200, 1201, 1252, 932, 1047, 50220, 57002}) {
    SCOPED_TRACE(codePage);
    const std::u16string replacement =
        AnsiToWide(WideToAnsi(u"\uFFFD", codePage), codePage) == u"\uFFFD" ? u"\uFFFD" : u"?";
    EXPECT_EQ(WideToAnsi(u"a\xD800z\xDFFF"s, codePage),
              WideToAnsi(u"a" + replacement + u"z" + replacement, codePage));
  }
}

TEST(SvConvert, Utf8OutputOfSurrogates) {
  EXPECT_EQ(WideToAnsi(u"\xD800x"s, 0), "\xEF\xBF\xBDx");
  EXPECT_EQ(WideToAnsi(u"x\xDC00"s, 0), "x\xEF\xBF\xBD");
  EXPECT_EQ(WideToAnsi(u"\xDBFF\xD800"s, 65001), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(WideToAnsi(u"😀", 0), "\xF0\x9F\x98\x80");
  EXPECT_EQ(WideToAnsi(u"\u07FF\u0800\uFFFF", 0), "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
}

namespace {

// What glibc itself answers for in, converted from one name to another: the
// bytes, or none when it cannot.
std::optional<std::string> IconvAnswer(const std::string& to, const std::string& from,
                                       const std::string& in) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1))
    return std::nullopt;
  char* source = const_cast<char*>(in.data());
  std::size_t sourceLeft = in.size();
  char out[16];
  char* target = out;
  std::size_t targetLeft = sizeof out;
  const bool ok = iconv(cd, &source, &sourceLeft, &target, &targetLeft) != std::size_t(-1) &&
                  iconv(cd, nullptr, nullptr, &target, &targetLeft) != std::size_t(-1);
  iconv_close(cd);
  if (!ok)
    return std::nullopt;
  return std::string(out, static_cast<std::size_t>(target - out));
}

} // namespace

TEST(SvConvert, StandInsLeaveEveryOtherCharacterAsTheConverterWritesIt) {
  // Once a code page has met a character it cannot hold, it converts by tables
  // taken from its converter: they must answer as the converter does.
  for (const TSvCodePageData& row : CodePageTable()) {
    if (IsServiceOnlyCodePage(row.CodePage) || row.Kind <= ekUtf16BE || row.CodePage == 1200 ||
        row.CodePage == 1201 || !IsCodePageInstalled(row.CodePage))
      continue;
    SCOPED_TRACE(row.CodePage);
    std::string name;
    for (const std::string& candidate : IconvNamesOf(row.CodePage))
      if (name.empty() && IconvAnswer(candidate, "UTF-16LE", "A\0"s))
        name = candidate;
    const std::string question = WideToAnsi(u"?", row.CodePage);
    EXPECT_EQ(WideToAnsi(u"\uFFFF", row.CodePage),
              IconvAnswer(name, "UTF-16LE", "\xFF\xFF"s).value_or(question));
    int differences = 0;
    for (char32_t c = 1; c < 0xFFFE && differences < 5; c += c < 0x800 ? 1 : 37) {
      if (c >= 0xD800 && c <= 0xDFFF)
        continue;
      const std::u16string one(1, static_cast<char16_t>(c));
      const std::string in{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
      const std::string expected = IconvAnswer(name, "UTF-16LE", in).value_or(question);
      if (WideToAnsi(one, row.CodePage) != expected) {
        ADD_FAILURE() << "U+" << std::hex << int(c);
        ++differences;
      }
    }
    // Each byte alone reads as the converter reads it, U+FFFD where it reads none.
    for (int b = 1; b < 256; ++b) {
      const std::string byte(1, static_cast<char>(b));
      const std::string wide = IconvAnswer("UTF-16LE", name, byte).value_or("\xFD\xFF");
      EXPECT_EQ(AnsiToWide(byte, row.CodePage),
                std::u16string(reinterpret_cast<const char16_t*>(wide.data()), wide.size() / 2))
          << b;
    }
  }
}

TEST(SvConvert, EmbeddedZerosPassThroughOneForOne) {
  for (int codePage : {0, 1252, 932, 57002}) {
    SCOPED_TRACE(codePage);
    EXPECT_EQ(WideToAnsi(u"", codePage), "");
    EXPECT_EQ(WideToAnsi(u"\0"s, codePage), "\0"s);
    EXPECT_EQ(WideToAnsi(u"a\0\0b"s, codePage), "a\0\0b"s);
    EXPECT_EQ(WideToAnsi(u"a\0b\0"s, codePage), "a\0b\0"s);
    EXPECT_EQ(WideToAnsi(u"\0\0a"s, codePage), "\0\0a"s);
    EXPECT_EQ(AnsiToWide("", codePage), u"");
    EXPECT_EQ(AnsiToWide("\0"s, codePage), u"\0"s);
    EXPECT_EQ(AnsiToWide("a\0\0b"s, codePage), u"a\0\0b"s);
    EXPECT_EQ(AnsiToWide("a\0b\0"s, codePage), u"a\0b\0"s);
  }
  EXPECT_EQ(WideToAnsi(u"ü\0中"s, 1252), "\xFC\0?"s);
}

TEST(SvConvert, UnknownCodePageGivesEmptyText) {
  EXPECT_EQ(WideToAnsi(u"abc", 12345), "");
  EXPECT_EQ(AnsiToWide("abc", 12345), u"");
  EXPECT_EQ(WideToAnsi(u"abc", 20261), "");      // a row that neither library converts
  EXPECT_EQ(WideToAnsi(u"a\0b"s, 12345), "\0"s); // the zeros still pass
  EXPECT_FALSE(IsCodePageInstalled(12345));
  EXPECT_FALSE(IsCodePageInstalled(20261));
  EXPECT_TRUE(IsCodePageInstalled(0));
}

TEST(SvConvert, SystemCodePageOfTheCLocaleIsUtf8) {
  // The tests run with LC_ALL=C.UTF-8.
  EXPECT_EQ(SystemCodePage(), 65001);
  EXPECT_EQ(SystemCharset(), "UTF-8");
  EXPECT_EQ(WideToAnsi(u"Grüße", 0), WideToAnsi(u"Grüße", 65001));
}

TEST(SvConvert, ServiceOnlyCodePagesGoThroughTheService) {
  // iconv has no ISCII: it is the service's alone.
  for (int codePage = 57002; codePage <= 57011; ++codePage) {
    EXPECT_TRUE(IsServiceOnlyCodePage(codePage)) << codePage;
    EXPECT_FALSE(IsCodePageInstalled(codePage)) << codePage;
  }
  EXPECT_EQ(WideToAnsi(u"क", 57002), "\xEF\x42\xB3");
  EXPECT_EQ(AnsiToWide("\xB3", 57002), u"क");
  EXPECT_EQ(WideToAnsi(u"क中", 57002), "\xEF\x42\xB3?");
  EXPECT_EQ(CodePageSupport(1252), cpsInstalled | cpsService);
  EXPECT_EQ(CodePageSupport(20261), 0);

  // Without the service the platform path answers, and it has no ISCII.
  ASSERT_NE(SvLang(), nullptr);
  SvLang()->SetAvailable(false);
  EXPECT_EQ(WideToAnsi(u"क", 57002), "");
  SvLang()->SetAvailable(true);
}

TEST(SvCodePageNames, AliasesAndRules) {
  // The alias comes before the table's name where glibc means another mapping.
  EXPECT_EQ(IconvNamesOf(932), (std::vector<std::string>{"CP932", "shift_jis"}));
  EXPECT_EQ(IconvNamesOf(1200), (std::vector<std::string>{"UTF-16LE", "unicode"}));
  EXPECT_EQ(IconvNamesOf(1252), (std::vector<std::string>{"windows-1252"}));
  EXPECT_EQ(IconvNamesOf(20273), (std::vector<std::string>{"x-EBCDIC-Germany", "IBM273"}));
  EXPECT_EQ(IconvNamesOf(50939).back(), "IBM939");
  EXPECT_EQ(IconvNamesOf(862).back(), "IBM862");
  EXPECT_TRUE(IconvNamesOf(0).empty());
  EXPECT_TRUE(IconvNamesOf(12345).empty());
  EXPECT_EQ(IcuNamesOf(57002), (std::vector<std::string>{"windows-57002", "x-iscii-de"}));
  EXPECT_EQ(IcuNamesOf(1047),
            (std::vector<std::string>{"windows-1047", "ibm-1047", "ebcdic-1047"}));

  EXPECT_EQ(CodePageOfCharset("UTF-8"), 65001);
  EXPECT_EQ(CodePageOfCharset("ISO-8859-15"), 28605);
  EXPECT_EQ(CodePageOfCharset("KOI8-R"), 20866);
  EXPECT_EQ(CodePageOfCharset("CP1251"), 1251);
  EXPECT_EQ(CodePageOfCharset("EUC-JP"), 51932);
  EXPECT_EQ(CodePageOfCharset("cp932"), 932);
  EXPECT_EQ(CodePageOfCharset("CP99999"), 0);
  EXPECT_EQ(CodePageOfCharset("ARMSCII-8"), 0);
  EXPECT_EQ(CodePageOfCharset(""), 0);
}

TEST(SvCodePageNames, EveryAliasOpensInIconv) {
  // Each first name that is not the table's own must be known to glibc.
  for (const TSvCodePageData& row : CodePageTable()) {
    const std::vector<std::string> names = IconvNamesOf(row.CodePage);
    if (names.front() == row.Name)
      continue;
    iconv_t cd = iconv_open(names.front().c_str(), "UTF-16LE");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << names.front();
    if (cd != reinterpret_cast<iconv_t>(-1))
      iconv_close(cd);
  }
}

TEST(SvConvert, CompareTextByLocale) {
  EXPECT_EQ(CompareWideText(u"a", u"b", 0x0409, false), -1);
  EXPECT_EQ(CompareWideText(u"b", u"a", 0x0409, false), 1);
  EXPECT_EQ(CompareWideText(u"abc", u"abc", 0x0409, true), 0);
  EXPECT_NE(CompareWideText(u"a", u"A", 0x0409, true), 0);   // case-sensitive
  EXPECT_EQ(CompareWideText(u"ö", u"z", 0x0407, false), -1); // German: o umlaut with o
  EXPECT_EQ(CompareWideText(u"ö", u"z", 0x041D, false), 1);  // Swedish: after z
  EXPECT_EQ(CompareWideText(u"x\0a"s, u"x\0b"s, 0x0409, false), -1);
  EXPECT_EQ(CompareWideText(u"b", u"a", 0, false), 1);

  EXPECT_EQ(CompareAnsiText("\xF6", "z", 0x041D, false), 1); // 1252 bytes for Swedish
  EXPECT_EQ(CompareAnsiText("a", "b", 0, false), -1);
  EXPECT_EQ(CompareAnsiText("a", "b", 0xFFFF, false), -2);
  try {
    CompareWideText(u"a", u"b", 0xFFFF, false);
    FAIL();
  } catch (const ESvError& e) {
    EXPECT_STREQ(e.what(), "Locale (65535) based sorting of \"a\" and \"b\" failed");
  }
}

TEST(SvConvert, DefaultAnsiCodePageOfLocale) {
  // Chinese is decided without the platform.
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x0404), 950);
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x0804), 936);
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x0C04), 950);
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x1004), 936);
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x1404), 950);
  // The platform's answer.
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x0409), 1252);
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x0419), 1251);
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x0411), 932);
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x081A), 1250);
  // The platform has none: the primary language decides.
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x3C1A), 1251); // Serbian, sublanguage 15
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x0C2C), 1254); // Azeri, sublanguage 3
  EXPECT_EQ(DefaultAnsiCodePageOfLocale(0x042B), 1252); // Armenian: Unicode only
}

TEST(SvConvert, PlatformFacts) {
  EXPECT_TRUE(IsWindowsNT());
  const std::string path = ProgramPath();
  EXPECT_EQ(path.substr(path.size() - std::string("sv_locale_tests").size()), "sv_locale_tests");
}
