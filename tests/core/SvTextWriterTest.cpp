#include "core/SvTextWriter.h"

#include <gtest/gtest.h>

using namespace sv;

namespace {

std::string Written(TSvTextEncoding encoding, const std::u16string& text, bool escaped = false) {
  TSvStringSink sink;
  TSvTextWriter writer(sink);
  writer.SetEncoding(encoding);
  writer.SetCodePage(1252);
  writer.SetEscaped(escaped);
  writer.WriteText(text);
  return sink.Data();
}

std::string LineBreak(TSvTextEncoding encoding, TSvLineBreaks breaks) {
  TSvStringSink sink;
  TSvTextWriter writer(sink);
  writer.SetEncoding(encoding);
  writer.SetEscaped(true); // no effect on line breaks
  writer.SetLineBreaks(breaks);
  writer.WriteLineBreak();
  return sink.Data();
}

} // namespace

TEST(SvTextWriter, EncodesInEachEncoding) {
  EXPECT_EQ(Written(teUtf8, u"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(Written(teUtf16LE, u"\u00E9"), std::string("\xE9\0", 2));
  EXPECT_EQ(Written(teUtf16BE, u"\u00E9A"), std::string("\0\xE9\0A", 4));
  EXPECT_EQ(Written(teAnsi, u"\u00E9", true), "\\u00E9");
  EXPECT_EQ(Written(teAnsi, u"Gr\u00FC\u00DFe"), "Gr\xFC\xDF"
                                                 "e");
  EXPECT_EQ(Written(teUtf8, u"a\u07FF\u0800\uFFFF"), "a\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
  // A surrogate pair is one four-byte sequence; a lone surrogate becomes U+FFFD.
  EXPECT_EQ(Written(teUtf8, u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Written(teUtf8, std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  for (TSvTextEncoding encoding : {teAnsi, teUtf8, teUtf16LE, teUtf16BE}) {
    EXPECT_EQ(Written(encoding, u""), "");
    EXPECT_EQ(Written(encoding, u"", true), "");
  }
}

TEST(SvTextWriter, LineBreaksFollowTheSetAndEncoding) {
  EXPECT_EQ(LineBreak(teAnsi, {}), "\r\n");
  EXPECT_EQ(LineBreak(teUtf16LE, {}), std::string("\r\0\n\0", 4));
  EXPECT_EQ(LineBreak(teUtf16BE, {}), std::string("\0\r\0\n", 4));
  EXPECT_EQ(LineBreak(teUtf8, {lbLineFeed}), "\n");
  EXPECT_EQ(LineBreak(teAnsi, {lbCarriageReturn}), "\r");
  EXPECT_EQ(LineBreak(teUtf8, {lbLineFeed, lbCarriageReturn}), "\r\n");
}

TEST(SvTextWriter, EscapesOnlyWhatIsAsked) {
  EXPECT_EQ(TSvTextWriter::EscapeText(u"\t", u"\t"), "\\t");
  EXPECT_EQ(TSvTextWriter::EscapeText(u"\t", u""), "\t");
  EXPECT_EQ(TSvTextWriter::EscapeText(u"\\\"'\b\t\n\f\r", u"\\\"'\b\t\n\f\r"),
            "\\\\\\\"\\'\\b\\t\\n\\f\\r");
  EXPECT_EQ(TSvTextWriter::EscapeText(u"a\\b\u00E9\u20AC\uFFFF", u"\n"),
            "a\\b\\u00E9\\u20AC\\uFFFF");
  EXPECT_EQ(TSvTextWriter::EscapeText(u"\u007F\u0080", u""), "\x7F\\u0080");
}

TEST(SvTextWriter, EncodingNames) {
  EXPECT_EQ(TextEncodingName(teAnsi), "Ansi");
  EXPECT_EQ(TextEncodingName(teUtf8), "UTF-8");
  EXPECT_EQ(TextEncodingName(teUtf16LE), "UTF-16, little endian");
  EXPECT_EQ(TextEncodingName(teUtf16BE), "UTF-16, big endian");
  EXPECT_EQ(TextEncodingName(static_cast<TSvTextEncoding>(4)), "");
}
