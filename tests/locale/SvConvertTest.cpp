#include "locale/SvConvert.h"
#include "locale/SvCodePageNames.h"
#include "locale/SvLang.h"
#include "locale/SvLocaleTables.h"
#include "locale/SvPlatformConvert.h"
#include "tests/support/SvProcess.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <unicode/ustring.h>

#include <random>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

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

TEST(SvConvert, Iso2022TextCannotShiftItself) {
  // ESC, SO and SI of the text would switch what follows into another set.
  EXPECT_EQ(WideToAnsi(u"\x1B$BF|", 50220), "?$BF|");
  EXPECT_EQ(AnsiToWide(WideToAnsi(u"\x1B$BF|\x0E!\x0F", 50220), 50220), u"?$BF|?!?");
  EXPECT_EQ(AnsiToWide(WideToAnsi(u"a\x0E\x1B$)Cb", 50225), 50225), u"a??$)Cb");
  // DEL is written and read back as itself.
  for (int codePage : {50220, 50225, 50227}) {
    SCOPED_TRACE(codePage);
    EXPECT_EQ(AnsiToWide(WideToAnsi(u"a\x7F\u4E2D", codePage), codePage), u"a\x7F\u4E2D");
  }
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

TEST(SvConvert, Utf8OutputAgreesWithIcuAtEveryPosition) {
  // Texts of every length up to 24 mixing ASCII runs, two- and three-byte units,
  // pairs, unpaired surrogates and U+0000, so that each kind meets the edges of
  // the four-unit steps; ICU with U+FFFD for an unpaired surrogate is the reference.
  const char16_t units[] = {u'a',  u'Z',   u'\0',  0x7F,   0x80,   0xE9,   0x7FF,
                            0x800, 0x4E2D, 0xFFFF, 0xD83D, 0xDE00, 0xDBFF, 0xDC00};
  std::mt19937 random(3);
  for (int round = 0; round < 3000; ++round) {
    std::u16string text;
    const std::size_t length = random() % 25;
    const bool mostlyAscii = round % 2 == 0;
    while (text.size() < length) {
      const std::size_t pick = random() % std::size(units);
      text += mostlyAscii && random() % 4 != 0 ? char16_t(u'a' + random() % 26) : units[pick];
    }
    std::string expected(text.size() * 3 + 1, '\0');
    int32_t written = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(expected.data(), static_cast<int32_t>(expected.size()), &written,
                       text.data(), static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    ASSERT_TRUE(U_SUCCESS(status));
    expected.resize(static_cast<std::size_t>(written));
    ASSERT_EQ(WideToAnsi(text, 65001), expected) << round;
  }
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
        row.CodePage == 1201 || row.CodePage == 875 || !IsCodePageInstalled(row.CodePage))
      continue;
    SCOPED_TRACE(row.CodePage);
    std::string name;
    for (const std::string& candidate : IconvNamesOf(row.CodePage))
      if (name.empty() && IconvAnswer(candidate, "UTF-16LE", "A\0"s))
        name = candidate;
    if (name.empty()) // a code page on corrected tables (checked on its own)
      continue;
    const std::string question = WideToAnsi(u"?", row.CodePage);
    EXPECT_EQ(WideToAnsi(u"\uFFFF", row.CodePage),
              IconvAnswer(name, "UTF-16LE", "\xFF\xFF"s).value_or(question));
    int differences = 0;
    for (char32_t c = 1; c < 0xFFFE && differences < 5; c += c < 0x800 ? 1 : 37) {
      if (c >= 0xD800 && c <= 0xDFFF)
        continue;
      const std::u16string one(1, static_cast<char16_t>(c));
      const std::string in{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
      // ISO 2022 shift characters of the text are not written as shifts.
      const bool shift =
          row.CodePage >= 50220 && row.CodePage <= 50229 && (c == 0x0E || c == 0x0F || c == 0x1B);
      const std::string expected =
          shift ? question : IconvAnswer(name, "UTF-16LE", in).value_or(question);
      if (WideToAnsi(one, row.CodePage) != expected) {
        ADD_FAILURE() << "U+" << std::hex << int(c);
        ++differences;
      }
    }
    // Each byte alone reads as the converter reads it, U+FFFD where it reads none.
    for (int b = 1; b < 256; ++b) {
      const std::string byte(1, static_cast<char>(b));
      // DEL that the converter does not read is itself.
      const std::string wide =
          IconvAnswer("UTF-16LE", name, byte).value_or(b == 0x7F ? "\x7F\0"s : "\xFD\xFF"s);
      EXPECT_EQ(AnsiToWide(byte, row.CodePage),
                std::u16string(reinterpret_cast<const char16_t*>(wide.data()), wide.size() / 2))
          << b;
    }
  }
}

namespace {

// Apple's Mac Icelandic: Mac Roman with Ý Ð ð Þ þ ý at A0 and DC-E0.
constexpr char16_t kMacIcelandic[256] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009, 0x000A, 0x000B,
    0x000C, 0x000D, 0x000E, 0x000F, 0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017,
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F, 0x0020, 0x0021, 0x0022, 0x0023,
    0x0024, 0x0025, 0x0026, 0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B,
    0x003C, 0x003D, 0x003E, 0x003F, 0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, 0x0050, 0x0051, 0x0052, 0x0053,
    0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067, 0x0068, 0x0069, 0x006A, 0x006B,
    0x006C, 0x006D, 0x006E, 0x006F, 0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F, 0x00C4, 0x00C5, 0x00C7, 0x00C9,
    0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4, 0x00F6, 0x00F5,
    0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x00DD, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0,
    0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x00D0, 0x00F0, 0x00DE, 0x00FE, 0x00FD, 0x00B7, 0x201A, 0x201E,
    0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA,
    0x00B8, 0x02DD, 0x02DB, 0x02C7,
};
// Arabic (DOS): the controls 00-1F and 7F read as themselves; FFFD: no character.
constexpr char16_t kArabicDos[256] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009, 0x000A, 0x000B,
    0x000C, 0x000D, 0x000E, 0x000F, 0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017,
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F, 0x0020, 0x0021, 0x0022, 0x0023,
    0x0024, 0x0025, 0x0026, 0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B,
    0x003C, 0x003D, 0x003E, 0x003F, 0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, 0x0050, 0x0051, 0x0052, 0x0053,
    0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067, 0x0068, 0x0069, 0x006A, 0x006B,
    0x006C, 0x006D, 0x006E, 0x006F, 0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F, 0xFFFD, 0xFFFD, 0x00E9, 0x00E2,
    0xFFFD, 0x00E0, 0xFFFD, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0xFFFD, 0xFFFD, 0xFFFD,
    0xFFFD, 0x0651, 0x0652, 0x00F4, 0x00A4, 0x0640, 0x00FB, 0x00F9, 0x0621, 0x0622, 0x0623, 0x0624,
    0x00A3, 0x0625, 0x0626, 0x0627, 0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F,
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566,
    0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x0636, 0x0637, 0x0638, 0x0639,
    0x063A, 0x0641, 0x00B5, 0x0642, 0x0643, 0x0644, 0x0645, 0x0646, 0x0647, 0x0648, 0x0649, 0x064A,
    0x2261, 0x064B, 0x064C, 0x064D, 0x064E, 0x064F, 0x0650, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A,
    0x207F, 0x00B2, 0x25A0, 0x00A0,
};
// EBCDIC Greek, with the vertical line at 6A; FFFD: no character.
constexpr char16_t kEbcdicGreek[256] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x009C, 0x0009, 0x0086, 0x007F, 0x0097, 0x008D, 0x008E, 0x000B,
    0x000C, 0x000D, 0x000E, 0x000F, 0x0010, 0x0011, 0x0012, 0x0013, 0x009D, 0x0085, 0x0008, 0x0087,
    0x0018, 0x0019, 0x0092, 0x008F, 0x001C, 0x001D, 0x001E, 0x001F, 0x0080, 0x0081, 0x0082, 0x0083,
    0x0084, 0x000A, 0x0017, 0x001B, 0x0088, 0x0089, 0x008A, 0x008B, 0x008C, 0x0005, 0x0006, 0x0007,
    0x0090, 0x0091, 0x0016, 0x0093, 0x0094, 0x0095, 0x0096, 0x0004, 0x0098, 0x0099, 0x009A, 0x009B,
    0x0014, 0x0015, 0x009E, 0x001A, 0x0020, 0x0391, 0x0392, 0x0393, 0x0394, 0x0395, 0x0396, 0x0397,
    0x0398, 0x0399, 0x005B, 0x002E, 0x003C, 0x0028, 0x002B, 0x0021, 0x0026, 0x039A, 0x039B, 0x039C,
    0x039D, 0x039E, 0x039F, 0x03A0, 0x03A1, 0x03A3, 0x005D, 0x0024, 0x002A, 0x0029, 0x003B, 0x005E,
    0x002D, 0x002F, 0x03A4, 0x03A5, 0x03A6, 0x03A7, 0x03A8, 0x03A9, 0x03AA, 0x03AB, 0x007C, 0x002C,
    0x0025, 0x005F, 0x003E, 0x003F, 0x00A8, 0x0386, 0x0388, 0x0389, 0x2207, 0x038A, 0x038C, 0x038E,
    0x038F, 0x0060, 0x003A, 0x0023, 0x0040, 0x0027, 0x003D, 0x0022, 0x0385, 0x0061, 0x0062, 0x0063,
    0x0064, 0x0065, 0x0066, 0x0067, 0x0068, 0x0069, 0x03B1, 0x03B2, 0x03B3, 0x03B4, 0x03B5, 0x03B6,
    0x00B0, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F, 0x0070, 0x0071, 0x0072, 0x03B7, 0x03B8,
    0x03B9, 0x03BA, 0x03BB, 0x03BC, 0x00B4, 0x007E, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077, 0x0078,
    0x0079, 0x007A, 0x03BD, 0x03BE, 0x03BF, 0x03C0, 0x03C1, 0x03C3, 0x00A3, 0x03AC, 0x03AD, 0x03AE,
    0x03CA, 0x03AF, 0x03CC, 0x03CD, 0x03CB, 0x03CE, 0x03C2, 0x03C4, 0x03C5, 0x03C6, 0x03C7, 0x03C8,
    0x007B, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047, 0x0048, 0x0049, 0x00AD, 0x03C9,
    0x0390, 0x03B0, 0x2018, 0x2015, 0x007D, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, 0x0050,
    0x0051, 0x0052, 0x00B1, 0x00BD, 0xFFFD, 0x00B7, 0x2019, 0x00A6, 0x005C, 0xFFFD, 0x0053, 0x0054,
    0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x00B2, 0x00A7, 0xFFFD, 0xFFFD, 0x00AB, 0x00AC,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x00B3, 0x00A9,
    0xFFFD, 0xFFFD, 0x00BB, 0x009F,
};

// Every byte reads as the table says and every character of the table writes
// back to its byte; a byte the table has none for reads as U+FFFD.
void ExpectCodePageTable(int codePage, const char16_t (&table)[256]) {
  SCOPED_TRACE(codePage);
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::u16string wide(1, table[b]);
    EXPECT_EQ(AnsiToWide(byte, codePage), wide) << "byte " << b;
    if (table[b] != 0xFFFD) {
      EXPECT_EQ(WideToAnsi(wide, codePage), byte) << "byte " << b;
    }
  }
}

} // namespace

TEST(SvConvert, Iso2022ChineseSingleShiftsEachPlane2Character) {
  // U+6B45 is in CNS plane 2 (SS2), U+6E69 in plane 1 and U+4E2D in GB 2312 (SO).
  const std::u16string letters = u"\u6B45\u6E69\u4E2Da";
  EXPECT_EQ(WideToAnsi(u"\u6B45\u6B45", 50227), "\x1B$*H\x1BNC|\x0F\x1B$*H\x1BNC|\x0F");
  for (char16_t a : letters)
    for (char16_t b : letters)
      for (char16_t c : letters) {
        const std::u16string text{a, b, c};
        const std::string bytes = WideToAnsi(text, 50227);
        SCOPED_TRACE(testing::PrintToString(bytes));
        EXPECT_EQ(AnsiToWide(bytes, 50227), text);
        // glibc's own reader, as other programs use it, reads the same.
        EXPECT_EQ(IconvAnswer("UTF-16LE", "ISO-2022-CN", bytes),
                  std::string(reinterpret_cast<const char*>(text.data()), 6));
      }
  // A switch of the SO set inside a run is followed by an SO.
  EXPECT_EQ(WideToAnsi(u"\u4E2D\u6E69", 50227), "\x1B$)A\x0EVP\x1B$)G\x0E`L\x0F");
  // A designation inside a run takes effect at once.
  EXPECT_EQ(AnsiToWide("\x1B$)A\x0EVP\x1B$)G`L\x0F", 50227), u"\u4E2D\u6E69");
  EXPECT_EQ(AnsiToWide("\x1B$)G\x0E`L\x0F\x1B$)A\x0EVP\x0F", 50227), u"\u6E69\u4E2D");
  // A byte it cannot read (DEL, read as itself) leaves the designation standing.
  EXPECT_EQ(AnsiToWide("\x1B$)G\x0E`L\x0F\x7F?\x0E`L\x0F", 50227), u"\u6E69\x7F?\u6E69");
  // The same with a character of no set between them.
  EXPECT_EQ(AnsiToWide(WideToAnsi(u"\u6E69\u6B45\u0E01\u6B45", 50227), 50227),
            u"\u6E69\u6B45?\u6B45");
}

TEST(SvConvert, CodePagesBoundToThePlatformsTables) {
  ExpectCodePageTable(10079, kMacIcelandic);
  ExpectCodePageTable(720, kArabicDos);
  ExpectCodePageTable(875, kEbcdicGreek);
  // The bytes where Mac Icelandic differs from Mac Roman.
  EXPECT_EQ(AnsiToWide("\xA0\xDC\xDD\xDE\xDF\xE0", 10079), u"ÝÐðÞþý");
  EXPECT_EQ(WideToAnsi(u"ÝÐðÞþý", 10079), "\xA0\xDC\xDD\xDE\xDF\xE0");
  EXPECT_EQ(WideToAnsi(u"†‡‹›ﬁﬂ", 10079), "??????"); // Mac Roman's, not in Icelandic
  EXPECT_EQ(AnsiToWide("\x1A\x1C\x7F", 720), u"\x1A\x1C\x7F");
  EXPECT_EQ(WideToAnsi(u"\x1A\x1C\x7F", 720), "\x1A\x1C\x7F");
  EXPECT_EQ(WideToAnsi(u"a|b", 875), "\x81\x6A\x82");
  EXPECT_TRUE(IsCodePageInstalled(10079));
  EXPECT_TRUE(IsCodePageInstalled(875));
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

TEST(SvCodePageSupport, LearnedWhenAskedAsTheEnumerationsAnswer) {
  // Asked one by one, the flags are those that the two enumerations report.
  std::set<int> installed;
  EnumSystemCodePages([&](const std::string& text) {
    installed.insert(std::stoi(text));
    return true;
  });
  std::set<int> service;
  SvLang()->EnumCodePages(
      [&](int codePage, const std::string&, const std::string&) { service.insert(codePage); });
  EXPECT_GT(installed.size(), 80u);
  EXPECT_GT(service.size(), 80u);
  for (const TSvCodePageData& row : CodePageTable()) {
    const TSvCodePageSupport expected = (installed.count(row.CodePage) ? cpsInstalled : 0) |
                                        (service.count(row.CodePage) ? cpsService : 0);
    EXPECT_EQ(CodePageSupport(row.CodePage), expected) << row.CodePage;
    EXPECT_EQ(IsServiceOnlyCodePage(row.CodePage), expected == cpsService) << row.CodePage;
    EXPECT_EQ(IsCodePageInstalled(row.CodePage), installed.count(row.CodePage) == 1)
        << row.CodePage;
  }
}

TEST(SvCodePageSupport, StartLoadsNoConversionModule) {
  // The tool on a tiny dictionary loads the conversion modules of the code pages
  // it uses, not one for every code page of the table.
  sv::test::TSvTempDir dir;
  const sv::test::TSvProcessResult run = sv::test::RunProcess(
      SVQPEEK_EXE, {std::string(SV_SOURCE_DIR) + "/examples/sample.svq"}, {},
      {"LC_ALL=C.UTF-8", "LD_DEBUG=files", "LD_DEBUG_OUTPUT=" + dir.File("ld")});
  EXPECT_EQ(run.ExitCode, 0) << run.Output;
  int modules = 0;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    ++files;
    std::ifstream log(entry.path());
    for (std::string line; std::getline(log, line);)
      if (line.find("calling init:") != std::string::npos &&
          line.find("/gconv/") != std::string::npos)
        ++modules;
  }
  EXPECT_EQ(files, 1); // the loader wrote its log
  EXPECT_LE(modules, 4);
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
