#include "xml/SvXmlFile.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>

using namespace sv;

namespace {

std::u16string Escaped(const std::u16string& text, TSvXmlCharRefMode charRefMode = crNone,
                       const TSvXmlEntityModes& modes = DefaultEntityModes) {
  return TSvXmlFile::EscapeValue(modes, text, charRefMode);
}

// The attribute text of one attribute with options, written by a document writer.
std::u16string OneAttribute(const TSvXmlEntityOptions& options, const std::u16string& value) {
  TSvXmlFile file;
  TSvXmlAttributes attributes;
  attributes.Insert(std::make_unique<TSvXmlAttribute>(u"v", options, value));
  return file.AttributesText(&attributes, {});
}

std::string Utf8(const std::u16string& text) {
  TSvStringSink sink;
  TSvTextWriter(sink).WriteText(text);
  return sink.Data();
}

constexpr const char* kColourNames[] = {"clRed", "clGreen", "clBlue", "clBlack"};
constexpr TSvTypeInfo kColourType = SvEnumTypeInfo("TColour", kColourNames);
constexpr TSvTypeInfo kIntegerType = {"Integer", tkInteger, {}, 0, 100};

// Turns the omit-defaults switch back on when a test ends.
struct TOmitDefaultsRestorer {
  ~TOmitDefaultsRestorer() { SetXmlOmitDefaults(true); }
};

} // namespace

TEST(SvXmlEntities, TableOrderAndModeResolution) {
  const auto table = EntityTable();
  ASSERT_EQ(table.size(), 5u);
  const char* names[] = {"amp", "apos", "quot", "gt", "lt"};
  const char16_t chars[] = {u'&', u'\'', u'"', u'>', u'<'};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_STREQ(table[i].EntityName, names[i]);
    EXPECT_EQ(table[i].EntityChar, chars[i]);
  }

  TSvXmlEntityOptions options{};
  options[eiAmp] = SvEntityModeSet({emLiteral});
  options[eiApos] = SvEntityModeSet({emDecimal, emHex});
  options[eiQuot] = SvEntityModeSet({emLiteral, emDecimal});
  options[eiGt] = SvEntityModeSet({emNamed, emLiteral});
  const TSvXmlEntityModes defaults = {emHex, emHex, emHex, emHex, emDecimal};
  EXPECT_EQ(TSvXmlFile::ResolveEntityModes(options, defaults),
            (TSvXmlEntityModes{emLiteral, emHex, emDecimal, emNamed, emDecimal}));

  TSvXmlEntityOptions other = options;
  EXPECT_TRUE(TSvXmlFile::SameEntityOptions(options, other));
  TSvXmlFile::ClearEntityOptions(other);
  EXPECT_FALSE(TSvXmlFile::SameEntityOptions(options, other));
  EXPECT_EQ(other, TSvXmlEntityOptions{});
}

TEST(SvXmlEscape, AmpersandsThatCouldStartAReference) {
  EXPECT_EQ(Escaped(u"a&b"), u"a&amp;b");
  EXPECT_EQ(Escaped(u"&lt;"), u"&amp;lt;");
  EXPECT_EQ(Escaped(u"&#38;"), u"&amp;#38;");
  EXPECT_EQ(Escaped(u"plain text"), u"plain text");
  EXPECT_EQ(Escaped(u"<\"'>"), u"&lt;&quot;&apos;&gt;");

  TSvXmlEntityOptions literalAmp{};
  literalAmp[eiAmp] = SvEntityModeSet({emLiteral});
  EXPECT_EQ(OneAttribute(literalAmp, u"A & B"), u" v=\"A & B\"");
  EXPECT_EQ(OneAttribute(literalAmp, u"&x;"), u" v=\"&amp;x;\"");
  EXPECT_EQ(OneAttribute(literalAmp, u"&a-b.c:d_1;"), u" v=\"&amp;a-b.c:d_1;\"");
  EXPECT_EQ(OneAttribute(literalAmp, u"&1;&;&a b;&a"), u" v=\"&1;&;&a b;&a\"");
  // Names beyond ASCII count as names: "&" in front of them is escaped too.
  EXPECT_EQ(OneAttribute(literalAmp, u"&\u00E9;"), u" v=\"&amp;\u00E9;\"");

  TSvXmlEntityOptions hexLt{};
  hexLt[eiLt] = SvEntityModeSet({emDecimal, emHex});
  EXPECT_EQ(OneAttribute(hexLt, u"<"), u" v=\"&#x3C;\"");

  const TSvXmlEntityModes numeric = {emDecimal, emHex, emDecimal, emHex,
                                     static_cast<TSvXmlEntityMode>(7)};
  EXPECT_EQ(Escaped(u"&'\"><", crNone, numeric), u"&#38;&#x27;&#34;&#x3E;<");
}

TEST(SvXmlEscape, CharacterReferencesAndControlCharacters) {
  EXPECT_EQ(Escaped(u"\u00A0", crNoBreakSpace), u"&#160;");
  EXPECT_EQ(Escaped(u"\u00A0\u00E9", crNone), u"\u00A0\u00E9");
  EXPECT_EQ(Escaped(u"\u00E9\u0080\u00A0", crAbove128), u"&#233;\u0080&#160;");
  EXPECT_EQ(Escaped(u"x\U0001F600", crAbove128), u"x&#128512;");
  EXPECT_EQ(Escaped(u"\U0001F600", crNoBreakSpace), u"\U0001F600");

  // A reader would turn literal ones into spaces.
  EXPECT_EQ(Escaped(u"a\tb\nc\r\nd"), u"a&#9;b&#10;c&#13;&#10;d");

  // Characters XML 1.0 cannot carry are refused, naming the attribute.
  for (char16_t bad : {char16_t(0x01), char16_t(0x0B), char16_t(0x1F), char16_t(0xFFFE),
                       char16_t(0xD800), char16_t(0xDC00)}) {
    const std::u16string value = std::u16string(u"ok") + bad;
    EXPECT_THROW(Escaped(value), ESvXmlError);
    TSvXmlFile file;
    TSvXmlAttributes attributes;
    attributes.AddString(u"caption", value);
    try {
      file.WriteEmptyTag(u"e", &attributes);
      FAIL() << "no error for " << int(bad);
    } catch (const ESvXmlError& e) {
      EXPECT_NE(std::string(e.what()).find("\"caption\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(file.Bytes(), "");
  }
}

TEST(SvXmlAttribute, ConstructorsAndAccessors) {
  EXPECT_EQ(TSvXmlAttribute(u"n", std::int64_t{-42}).Value(), u"-42");
  EXPECT_EQ(TSvXmlAttribute(u"n", 7).Value(), u"7");
  EXPECT_EQ(TSvXmlAttribute(u"n", true).Value(), u"1");
  EXPECT_EQ(TSvXmlAttribute(u"n", false).Value(), u"0");
  EXPECT_EQ(TSvXmlAttribute(u"n", u"text").Value(), u"text");
  EXPECT_EQ(TSvXmlAttribute(u"n", 1e20).Value(), u"1E20");
  EXPECT_EQ(TSvXmlAttribute(u"n", 1.5e-6).Value(), u"1.5E-6");
  EXPECT_EQ(TSvXmlAttribute(u"n", 0.0).Value(), u"0");
  EXPECT_EQ(TSvXmlAttribute(u"n", 2.25).Value(), u"2.25");

  TSvXmlAttribute a(u"n", u"");
  EXPECT_EQ(a.AsChar(), u'\0');
  EXPECT_TRUE(a.AsBoolean());
  EXPECT_TRUE(a.IsNumeric());
  EXPECT_EQ(a.AsInt64(), 0);
  EXPECT_THROW(a.AsFloat(), ESvConvertError);
  a.SetAsString(u"0");
  EXPECT_FALSE(a.AsBoolean());
  for (const auto& [text, number] : std::initializer_list<std::pair<std::u16string, long long>>{
           {u"123", 123},
           {u"-9223372036854775808", INT64_MIN},
           {u"+5", 5},
           {u"12a", 0},
           {u" 1", 0},
           {u"99999999999999999999", 0},
           {u"-", 0},
           {u"+-1", 0}}) {
    a.SetAsString(text);
    EXPECT_EQ(a.AsInt64(), number) << Utf8(text);
  }
  a.SetAsString(u"12a");
  EXPECT_FALSE(a.IsNumeric());
  EXPECT_EQ(a.AsChar(), u'1');
  a.SetAsString(u"-0.5");
  EXPECT_DOUBLE_EQ(a.AsFloat(), -0.5);
  a.SetAsFloat(123456.789);
  EXPECT_EQ(a.Value(), u"123456.789");
  a.SetAsInt64(-1);
  EXPECT_EQ(a.Value(), u"-1");
}

TEST(SvXmlAttribute, EqualityAndAssign) {
  TSvXmlAttribute a(u"n", u"v");
  a.SetTag(5);
  a.SetLeading(u" ");
  a.SetTrailing(u"  ");
  a.SetBeforeEquals(u"\t");
  a.SetQuote(1);
  TSvXmlEntityOptions options{};
  options[eiLt] = SvEntityModeSet({emHex});
  a.SetEntityOptions(options);

  std::unique_ptr<TSvXmlAttribute> b = SvClone(a);
  EXPECT_TRUE(b->IsEqual(a));
  EXPECT_EQ(b->Tag(), 5);
  EXPECT_EQ(b->Leading(), u" ");
  EXPECT_EQ(b->Trailing(), u"  ");
  // Tag and the texts around the value do not take part in equality.
  b->SetTag(9);
  b->SetLeading({});
  b->SetTrailing({});
  EXPECT_TRUE(b->IsEqual(a));
  b->SetQuote(0);
  EXPECT_FALSE(b->IsEqual(a));
  b->Assign(a);
  b->SetAfter(u" ");
  EXPECT_FALSE(b->IsEqual(a));
  b->Assign(a);
  b->SetValue(u"V");
  EXPECT_FALSE(b->IsEqual(a));
  EXPECT_FALSE(a.IsEqual(TSvXmlAttributes()));
  EXPECT_THROW(a.Assign(TSvXmlAttributes()), ESvInvalidCast);
}

TEST(SvXmlAttributes, SettersOmitDefaultsAndKeepFirstOrder) {
  TOmitDefaultsRestorer restorer;
  TSvXmlAttributes attributes;
  attributes.SetString(u"s", u"", u"", true);
  attributes.SetInt64(u"i", 5, 5);
  attributes.SetBool(u"b", true, true);
  attributes.SetFloat(u"f", 0.5, 0.5);
  attributes.SetEnum(u"e", &kColourType, 2, 2);
  EXPECT_EQ(attributes.Count(), 0);

  attributes.SetString(u"s", u"x", u"", true);
  attributes.SetInt64(u"i", 6, 5);
  attributes.SetString(u"s", u"", u"", false); // not omitted: replaces in place
  attributes.SetBool(u"b", false, true);
  attributes.SetFloat(u"f", 1e20, 0.5);
  attributes.SetEnum(u"e", &kColourType, 1, 2);
  attributes.SetEnum(u"o", nullptr, 3, 2);
  attributes.SetEnum(u"r", &kColourType, 12, 2);
  attributes.AddString(u"first", u"1", 0);

  TSvXmlFile file;
  EXPECT_EQ(file.AttributesText(&attributes, {}),
            u" first=\"1\" s=\"\" i=\"6\" b=\"0\" f=\"1E20\" e=\"clGreen\" o=\"3\" r=\"12\"");

  SetXmlOmitDefaults(false);
  TSvXmlAttributes all;
  all.SetString(u"s", u"", u"", true);
  all.SetBool(u"b", true, true);
  EXPECT_EQ(all.Count(), 2);
}

TEST(SvXmlAttributes, GettersAndTheirDefaults) {
  TSvXmlAttributes attributes;
  attributes.AddString(u"word", u"true");
  attributes.AddString(u"zero", u"0");
  attributes.AddString(u"one", u"1");
  attributes.AddString(u"number", u"2");
  attributes.AddString(u"big", u"9");
  attributes.AddString(u"name", u"CLBLUE");
  attributes.AddString(u"unknown", u"clPink");
  attributes.AddString(u"float", u"2.5");
  attributes.AddString(u"bad", u"2,5");
  attributes.AddString(u"word", u"second");

  EXPECT_EQ(attributes.GetString(u"word", u"d"), u"true"); // the first of a name
  EXPECT_EQ(attributes.GetString(u"Word", u"d"), u"d");    // names compare exactly
  EXPECT_EQ(attributes.GetChar(u"word", u'x'), u't');
  EXPECT_EQ(attributes.GetChar(u"none", u'x'), u'x');

  EXPECT_TRUE(attributes.GetBool(u"word", true));
  EXPECT_FALSE(attributes.GetBool(u"word", false));
  EXPECT_FALSE(attributes.GetBool(u"zero", true));
  EXPECT_TRUE(attributes.GetBool(u"one", false));
  EXPECT_TRUE(attributes.GetBool(u"none", true));

  EXPECT_EQ(attributes.GetInt64(u"number", 7), 2);
  EXPECT_EQ(attributes.GetInt64(u"word", 7), 0);
  EXPECT_EQ(attributes.GetInt64(u"none", 7), 7);

  EXPECT_DOUBLE_EQ(attributes.GetFloat(u"float", 0), 2.5);
  EXPECT_DOUBLE_EQ(attributes.GetFloat(u"none", 1.25), 1.25);
  try {
    attributes.GetFloat(u"bad", 0);
    FAIL();
  } catch (const ESvConvertError& e) {
    EXPECT_STREQ(e.what(), "'2,5' is not a valid floating point value");
  }

  EXPECT_EQ(attributes.GetEnum(u"number", kColourType, 0), 2);
  EXPECT_EQ(attributes.GetEnum(u"big", kColourType, 1), 1);
  EXPECT_EQ(attributes.GetEnum(u"name", kColourType, 0), 2);
  EXPECT_EQ(attributes.GetEnum(u"unknown", kColourType, 3), 3);
  EXPECT_EQ(attributes.GetEnum(u"none", kIntegerType, 4), 4);
  try {
    attributes.GetEnum(u"number", kIntegerType, 0);
    FAIL();
  } catch (const ESvError& e) {
    EXPECT_STREQ(e.what(), "Type Integer in not an enumeration type");
  }
  enum TColour { clRed, clGreen, clBlue, clBlack };
  EXPECT_EQ(attributes.GetEnum(u"name", kColourType, clRed), clBlue);
}

TEST(SvXmlAttributes, CloneKeepsAttributesAndCharRefMode) {
  TSvXmlAttributes attributes;
  attributes.SetCharRefMode(crAbove128);
  attributes.AddString(u"a", u"1");
  attributes.AddString(u"b", u"2");
  std::unique_ptr<TSvXmlAttributes> copy = SvClone(attributes);
  EXPECT_EQ(copy->CharRefMode(), crAbove128);
  ASSERT_EQ(copy->Count(), 2);
  EXPECT_NE(copy->Find(u"b"), attributes.Find(u"b"));
  EXPECT_TRUE(copy->Find(u"b")->IsEqual(*attributes.Find(u"b")));
  EXPECT_EQ(copy->Find(u"c"), nullptr);
  EXPECT_THROW(copy->Item(2), ESvRangeError);
}

TEST(SvXmlFile, TagLayoutAndIndentation) {
  TSvXmlAttributes ab;
  ab.AddString(u"a", u"1");
  ab.AddString(u"b", u"2");
  TSvXmlAttributes none;

  TSvXmlFile file;
  file.WriteEmptyTag(u"e", &ab);
  file.WriteStartTag(u"e", &none);
  file.WriteStartTag(u"f", nullptr);
  file.WriteEmptyTag(u"e", &ab);
  EXPECT_EQ(file.IndentText(1), u"      ");
  file.WriteEndTag(true);
  file.WriteEndTag(false, u"ignored");
  EXPECT_EQ(file.Bytes(), "<e a=\"1\" b=\"2\"/>\n"
                          "<e>\n"
                          "  <f>\n"
                          "    <e a=\"1\" b=\"2\"/>\n"
                          "  </f>\n"
                          "</e>\n");
  EXPECT_EQ(file.OpenElements().Count(), 0);

  // Without an open element the end tag fails before anything is written.
  const std::size_t written = file.Bytes().size();
  try {
    file.WriteEndTag(true);
    FAIL();
  } catch (const ESvRangeError& e) {
    EXPECT_STREQ(e.what(), "Out of string list range");
  }
  EXPECT_EQ(file.Bytes().size(), written);

  EXPECT_EQ(file.AttributesText(nullptr, u" lead"), u" lead");
  EXPECT_EQ(file.AttributesText(&none, {}), u"");
  TSvXmlAttributes xy;
  xy.AddString(u"a", u"1");
  xy.AddString(u"b", u"x<y");
  EXPECT_EQ(file.AttributesText(&xy, {}), u" a=\"1\" b=\"x&lt;y\"");
}

TEST(SvXmlFile, PreservedWhitespaceWritesKeptTexts) {
  TSvXmlFile file;
  file.SetPreserveWhitespace(true);
  TSvXmlAttributes attributes;
  auto a = std::make_unique<TSvXmlAttribute>(u"a", u"v");
  a->SetBeforeEquals(u" ");
  a->SetAfterEquals(u"  ");
  a->SetLeading(u"[");
  a->SetTrailing(u"]");
  a->SetAfter(u"\n ");
  a->SetQuote(1);
  attributes.Insert(std::move(a));
  attributes.AddString(u"b", u"w");
  file.WriteStartTag(u"outer", nullptr, {}, true, false);
  file.WriteEmptyTag(u"e", &attributes, u" ", u"\t");
  file.WriteEndTag(true, u" ");
  EXPECT_EQ(file.Bytes(), "<outer><e\ta =  '[v]'\n b=\"w\" /></outer >");
}

TEST(SvXmlFile, DocumentDeclarationNamesTheEncoding) {
  TSvXmlFile utf8;
  utf8.BeginDocument(u"root");
  utf8.EndDocument();
  EXPECT_EQ(utf8.Bytes(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n</root>\n");

  TSvXmlFile utf16(teUtf16LE);
  utf16.WriteDeclaration();
  EXPECT_EQ(utf16.Bytes().substr(0, 4), std::string("\xFF\xFE<\0", 4));
  EXPECT_EQ(utf16.EncodingName(), "UTF-16");

  TSvXmlFile western(teAnsi, 1252);
  western.WriteDeclaration();
  EXPECT_EQ(western.Bytes(), "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n");

  EXPECT_THROW(TSvXmlFile(teAnsi, 0), ESvXmlError);
  EXPECT_THROW(TSvXmlFile(teAnsi, 12345), ESvXmlError);
  EXPECT_THROW(TSvXmlFile(teAnsi, 1047), ESvXmlError); // EBCDIC: markup would not read as ASCII
}

TEST(SvXmlElement, FindChildByNameTagAndLanguage) {
  TSvXmlElement root(u"root");
  EXPECT_EQ(root.FindChild(u""), &root);
  EXPECT_EQ(root.FindChild(u"item"), nullptr);
  EXPECT_EQ(root.ChildCount(), 0);
  EXPECT_THROW(root.Children(0), ESvRangeError);

  TSvXmlElement& plain = root.AddChild(std::make_unique<TSvXmlElement>(u"item"));
  TSvXmlElement& tagged = root.AddChild(std::make_unique<TSvXmlElement>(u"item"));
  tagged.SetTag(3);
  TSvXmlElement& german = root.AddChild(std::make_unique<TSvXmlElement>(u"item"));
  german.Attributes().AddString(u"xml:lang", u"de");
  root.AddChild(std::make_unique<TSvXmlElement>(u"Item"));

  EXPECT_EQ(root.FindChild(u"item"), &plain);
  EXPECT_EQ(root.FindChild(u"item", 3), &tagged);
  EXPECT_EQ(root.FindChild(u"item", 4), nullptr);
  EXPECT_EQ(root.FindChild(u"item", -1, u"de"), &german);
  EXPECT_EQ(root.FindChild(u"item", 0, u"de"), &german);
  EXPECT_EQ(root.FindChild(u"item", -1, u"DE"), nullptr);
  EXPECT_EQ(&root.Children(3), root.FindChild(u"Item"));
}
