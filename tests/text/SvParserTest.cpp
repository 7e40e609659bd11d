#include "text/SvParser.h"

#include <gtest/gtest.h>

#include <vector>

using namespace sv;
using namespace std::string_literals;

namespace {

template <typename P> auto AllTokens(P& parser) {
  std::vector<std::basic_string<typename P::TChar>> tokens;
  while (!parser.Eof())
    tokens.push_back(parser.NextToken());
  return tokens;
}

using Tokens = std::vector<std::string>;

} // namespace

TEST(SvParser, CutsAtTheSeparator) {
  TSvAnsiParser p("a,b", qkNone, ',');
  EXPECT_EQ(p.NextToken(), "a");
  EXPECT_FALSE(p.Eof());
  EXPECT_EQ(p.NextToken(), "b");
  EXPECT_TRUE(p.Eof());

  TSvAnsiParser empties("a,,b", qkNone, ',');
  EXPECT_EQ(AllTokens(empties), (Tokens{"a", "", "b"}));
  TSvAnsiParser leading(",a", qkNone, ',');
  EXPECT_EQ(AllTokens(leading), (Tokens{"", "a"}));
  TSvAnsiParser whole("no separator", qkNone, ',');
  EXPECT_EQ(AllTokens(whole), (Tokens{"no separator"}));
}

TEST(SvParser, EndAndPastTheEnd) {
  TSvAnsiParser p("a,", qkNone, ',');
  EXPECT_EQ(p.NextToken(), "a");
  EXPECT_TRUE(p.Eof());
  EXPECT_EQ(p.Position(), 3u);
  EXPECT_EQ(p.NextToken(), ""); // the empty token after the last separator
  EXPECT_EQ(p.Position(), 4u);
  EXPECT_EQ(p.NextToken(), "");
  EXPECT_EQ(p.Position(), 4u); // past the end nothing moves

  TSvAnsiParser empty("", qkNone, ',');
  EXPECT_TRUE(empty.Eof());
  EXPECT_EQ(empty.NextToken(), "");
  EXPECT_EQ(empty.Position(), 1u);

  TSvAnsiParser code("en", qkNone, '_');
  EXPECT_EQ(code.NextToken(), "en");
  EXPECT_EQ(code.NextToken(), "");
  EXPECT_EQ(code.NextToken(), "");
}

TEST(SvParser, WideTextWithZeroSeparatorAndNoBreakSpace) {
  TSvWideParser p(u"one\0two"s, qkNone, u'\0');
  EXPECT_EQ(p.NextToken(), u"one");
  EXPECT_EQ(p.NextToken(), u"two");
  EXPECT_TRUE(p.Eof());

  TSvWideParser blanks(u"a\u00A0b c\td"s, qkNone, u',');
  blanks.SetSeparatorKind(skBlank);
  EXPECT_EQ(AllTokens(blanks), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
  TSvAnsiParser ansiBlanks("a\xA0"
                           "b c",
                           qkNone, ',');
  ansiBlanks.SetSeparatorKind(skBlank);
  EXPECT_EQ(AllTokens(ansiBlanks), (Tokens{"a\xA0"
                                           "b",
                                           "c"}));
}

TEST(SvParser, QuotedTokens) {
  TSvAnsiParser p("'ab','c''d'", qkSingle, ',');
  EXPECT_EQ(p.NextToken(), "ab");
  EXPECT_EQ(p.NextToken(), "c'd");
  EXPECT_TRUE(p.Eof());

  TSvAnsiParser inner("'a,b','c'", qkSingle, ',');
  EXPECT_EQ(AllTokens(inner), (Tokens{"a,b", "c"}));
  TSvWideParser dq(u"\"x\";\"y;z\"", qkDouble, u';');
  EXPECT_EQ(AllTokens(dq), (std::vector<std::u16string>{u"x", u"y;z"}));
  TSvAnsiParser lone("'", qkSingle, ',');
  EXPECT_EQ(AllTokens(lone), (Tokens{""}));
}

TEST(SvParser, SeparatorChangesBetweenTokens) {
  TSvAnsiParser p("zh (Taiwan) x", qkNone, '(');
  p.SetSeparatorKind(skBlank);
  p.SetSeparatorChar(' '); // the kind stays skBlank
  EXPECT_EQ(p.SeparatorKind(), skBlank);
  EXPECT_EQ(p.NextToken(), "zh");
  p.SetSeparator(')'); // back to one character
  EXPECT_EQ(p.SeparatorKind(), skChar);
  EXPECT_EQ(p.NextToken(), "(Taiwan");
  EXPECT_EQ(p.NextToken(), " x");

  p.SetText("a)b");
  EXPECT_EQ(p.Position(), 1u);
  EXPECT_EQ(p.Limit(), 4u);
  EXPECT_EQ(AllTokens(p), (Tokens{"a", "b"}));
}

TEST(SvParser, UnescapeAndTrimOptions) {
  TSvAnsiParser p(" a#Nb ; #41 ;x#", qkNone, ';');
  p.SetUnescape(true);
  p.SetTrimTokens(true);
  EXPECT_EQ(AllTokens(p), (Tokens{"a\r\nb", "A", "x"}));

  TSvWideParser w(u"\u00A0 a \u00A0|b", qkNone, u'|');
  w.SetTrimTokens(true);
  EXPECT_EQ(w.NextToken(), u"a");
  TSvAnsiParser raw("#41", qkNone, ';');
  EXPECT_EQ(raw.NextToken(), "#41"); // escapes stay by default
}

TEST(SvParser, SkipBlanksStopsAtNoBreakSpace) {
  TSvWideParser w(u" \t\r\n\u00A0x"s, qkNone, u',');
  w.SkipBlanks();
  EXPECT_EQ(w.Position(), 5u);
  EXPECT_EQ(w.NextToken(), u"\u00A0x");

  TSvWideParser wideHigh(u"\u0120x"s, qkNone, u',');
  wideHigh.SkipBlanks(); // U+0120 is no blank although its low byte is
  EXPECT_EQ(wideHigh.Position(), 1u);

  TSvAnsiParser a("   ", qkNone, ',');
  a.SkipBlanks();
  EXPECT_TRUE(a.Eof());
}
