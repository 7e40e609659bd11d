#include "text/SvTextUtils.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace sv;
using namespace std::string_literals;

TEST(SvTextUtils, BlanksDifferByWidth) {
  for (char c : "\t\n\r "s)
    EXPECT_TRUE(IsBlank(c));
  EXPECT_FALSE(IsBlank('\v'));
  EXPECT_FALSE(IsBlank('\xA0'));
  EXPECT_TRUE(IsWideBlank(u'\u00A0'));
  EXPECT_TRUE(IsWideBlank(u'\t'));
  EXPECT_FALSE(IsWideBlank(u'\u2002'));
  EXPECT_FALSE(IsWideBlank(u'\u0120')); // its low byte is a space
}

TEST(SvTextUtils, TrimsInPlaceAndReturnsTheText) {
  std::string a = " \t a b \r\n";
  EXPECT_EQ(&TrimLeft(a), &a);
  EXPECT_EQ(a, "a b \r\n");
  EXPECT_EQ(TrimRight(a), "a b");
  std::string all = " \t ";
  EXPECT_EQ(Trim(all), "");
  std::string high = "\xA0x\xA0";
  EXPECT_EQ(Trim(high), "\xA0x\xA0");

  std::u16string w = u"\u00A0 x y\u00A0\n";
  EXPECT_EQ(Trim(w), u"x y");
  std::u16string l = u"  x ";
  EXPECT_EQ(TrimLeft(l), u"x ");
}

TEST(SvTextUtils, TakeBlanksReturnsThemInOrder) {
  std::u16string text = u" \t\u00A0word \n";
  EXPECT_EQ(TakeLeadingBlanks(text), u" \t\u00A0");
  EXPECT_EQ(TakeTrailingBlanks(text), u" \n");
  EXPECT_EQ(text, u"word");
  std::u16string none = u"x";
  EXPECT_EQ(TakeLeadingBlanks(none), u"");
  EXPECT_EQ(TakeTrailingBlanks(none), u"");
  std::u16string only = u"  ";
  EXPECT_EQ(TakeTrailingBlanks(only), u"  ");
  EXPECT_EQ(only, u"");
}

TEST(SvTextUtils, UnquoteDoubledByKind) {
  EXPECT_EQ(UnquoteDoubled("it''s"s, 1), "it's");
  EXPECT_EQ(UnquoteDoubled("''"s, 1), "'");
  EXPECT_EQ(UnquoteDoubled("a\"\"b''"s, 2), "a\"b''");
  EXPECT_EQ(UnquoteDoubled("it''s"s, 0), "it''s");
  EXPECT_EQ(UnquoteDoubled("it''s"s, 3), "it''s");
  // A single quote still swallows the character after it.
  EXPECT_EQ(UnquoteDoubled("a'b"s, 1), "a'");
  EXPECT_EQ(UnquoteDoubled(u"x\"\"\"\""s, 2), u"x\"\"");
}

TEST(SvTextUtils, DecodeEscapes) {
  EXPECT_EQ(DecodeEscapes("plain"s, 0), "plain");
  EXPECT_EQ(DecodeEscapes("a#Nb"s, 3), "a\r\nb");
  EXPECT_EQ(DecodeEscapes("a#Nb"s, 0), "a\nb");
  EXPECT_EQ(DecodeEscapes("a#Nb"s, 1), "a\rb");
  EXPECT_EQ(DecodeEscapes("a#Nb"s, 2), "a\n\rb");
  EXPECT_EQ(DecodeEscapes("#41#"s, 0), "A");
  EXPECT_EQ(DecodeEscapes("#zz"s, 0), "?");
  EXPECT_EQ(DecodeEscapes("##x#0#C#L#T"s, 0), "#x\0\r\n\t"s);
  EXPECT_EQ(DecodeEscapes("#4a#FFz"s, 0), "J\xFFz");
  EXPECT_EQ(DecodeEscapes("#4"s, 0), "?");     // one character short
  EXPECT_EQ(DecodeEscapes("#c3"s, 0), "\xC3"); // only upper-case letters are codes
  EXPECT_EQ(DecodeEscapes(u"#e9t#E9#N"s, 3), u"\u00E9t\u00E9\r\n");
  EXPECT_EQ(DecodeEscapes(u"#"s, 0), u"");
}

TEST(SvTextUtils, CharacterClasses) {
  EXPECT_TRUE(IsDigit(u'0'));
  EXPECT_TRUE(IsDigit(u'9'));
  EXPECT_FALSE(IsDigit(u'/'));
  EXPECT_FALSE(IsDigit(u'\u0660')); // Arabic-Indic zero
  EXPECT_TRUE(IsIdentStart(u'_'));
  EXPECT_TRUE(IsIdentStart(u'z'));
  EXPECT_FALSE(IsIdentStart(u'1'));
  EXPECT_FALSE(IsIdentStart(u'\u00E9'));
  EXPECT_TRUE(IsIdentChar(u'1'));
  EXPECT_FALSE(IsIdentChar(u'-'));
  EXPECT_TRUE(IsDigits(""s));
  EXPECT_TRUE(IsDigits("0123"s));
  EXPECT_FALSE(IsDigits("12a"s));
  EXPECT_FALSE(IsDigits("\xB2"s)); // a byte above 127 is no digit
  EXPECT_TRUE(IsDigits(u""s));
  EXPECT_FALSE(IsDigits(u"1 "s));
}

TEST(SvTextUtils, FloatToStrDotFormat) {
  EXPECT_EQ(FloatToStrDot(0), "0");
  EXPECT_EQ(FloatToStrDot(-0.0), "0");
  EXPECT_EQ(FloatToStrDot(1.5), "1.5");
  EXPECT_EQ(FloatToStrDot(-2.25), "-2.25");
  EXPECT_EQ(FloatToStrDot(100), "100");
  EXPECT_EQ(FloatToStrDot(0.1), "0.1");
  EXPECT_EQ(FloatToStrDot(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStrDot(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FloatToStrDot(1e20), "1E20");
  EXPECT_EQ(FloatToStrDot(1.5e-6), "1.5E-6");
  EXPECT_EQ(FloatToStrDot(-1.5e-6), "-1.5E-6");
  EXPECT_EQ(FloatToStrDot(0.00001), "0.00001");
  EXPECT_EQ(FloatToStrDot(0.0000123), "0.0000123");
  EXPECT_EQ(FloatToStrDot(999999999999999.0), "999999999999999");
  EXPECT_EQ(FloatToStrDot(1e15), "1E15");
  EXPECT_EQ(FloatToStrDot(123456789012345678.0), "1.23456789012346E17");
  EXPECT_EQ(FloatToStrDot(9.9999999999999999e14), "1E15"); // rounds up to 16 digits
  EXPECT_EQ(FloatToStrDot(45000.75), "45000.75");
  EXPECT_EQ(FloatToStrDot(std::numeric_limits<double>::infinity()), "INF");
  // The largest doubles would round up past the range; what is written reads back.
  const double largest = std::numeric_limits<double>::max();
  EXPECT_EQ(FloatToStrDot(largest), "1.79769313486231E308");
  EXPECT_EQ(StrToFloatDot(FloatToStrDot(-largest)), -1.79769313486231E308);
  EXPECT_EQ(FloatToStrDot(1.79769313486231E308), "1.79769313486231E308");
}

TEST(SvTextUtils, StrToFloatDotParsesAndRejects) {
  EXPECT_DOUBLE_EQ(StrToFloatDot("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloatDot(" -2.25 "), -2.25);
  EXPECT_DOUBLE_EQ(StrToFloatDot("+3"), 3);
  EXPECT_DOUBLE_EQ(StrToFloatDot(".5"), 0.5);
  EXPECT_DOUBLE_EQ(StrToFloatDot("5."), 5);
  EXPECT_DOUBLE_EQ(StrToFloatDot("1E20"), 1e20);
  EXPECT_DOUBLE_EQ(StrToFloatDot("1.5e-6"), 1.5e-6);
  for (const char* bad :
       {"", " ", "1,5", "abc", "1.2.3", "1e", "e5", "-", ".", "inf", "nan", "0x10", "1 2", "1e+"}) {
    EXPECT_THROW(StrToFloatDot(bad), ESvConvertError) << bad;
  }
  EXPECT_THROW(StrToFloatDot("1e999"), ESvConvertError);
  try {
    StrToFloatDot("1,5");
    FAIL();
  } catch (const ESvConvertError& e) {
    EXPECT_STREQ(e.what(), "'1,5' is not a valid floating point value");
  }
}

TEST(SvTextUtils, FloatTextRoundTripsToFifteenDigits) {
  for (double v : {0.5, 1234.5678, -1e-7, 3.14159265358979, 6.02214076e23, 1e-300, 1.7e308}) {
    const std::string text = FloatToStrDot(v);
    EXPECT_NEAR(StrToFloatDot(text), v, std::fabs(v) * 1e-14) << text;
  }
}

TEST(SvTextUtils, EnsureLeadingDot) {
  EXPECT_EQ(EnsureLeadingDot(".svq"), ".svq");
  EXPECT_EQ(EnsureLeadingDot("svq"), ".svq");
  EXPECT_EQ(EnsureLeadingDot("txt"), ".txt");
  EXPECT_EQ(EnsureLeadingDot(""), ".");
}

TEST(SvTextUtils, ProgramPathOfCommandLine) {
  EXPECT_EQ(ProgramPathOf(""), "");
  EXPECT_EQ(ProgramPathOf("\"/opt/my tools/SvqPeek\" -t file.svq"), "/opt/my tools/SvqPeek");
  EXPECT_EQ(ProgramPathOf("/usr/bin/SvqPeek -t file.svq"), "/usr/bin/SvqPeek");
  EXPECT_EQ(ProgramPathOf("SvqPeek"), "SvqPeek");
  EXPECT_EQ(ProgramPathOf("\"unterminated path"), "unterminated path");
  EXPECT_EQ(ProgramPathOf("prog\targ"), "prog");
}
