#include "xml/SvXmlReader.h"
#include "tests/support/SvProcess.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace sv;

namespace {

std::string ErrorOf(std::string_view bytes) {
  try {
    ReadXmlBytes(bytes);
  } catch (const ESvXmlError& e) {
    return e.what();
  }
  return "no error";
}

std::string Utf16(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : text) {
    const char low = static_cast<char>(c & 0xFF);
    const char high = static_cast<char>(c >> 8);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

} // namespace

TEST(SvXmlReader, BuildsTheTreeInDocumentOrder) {
  const auto root =
      ReadXmlBytes("<?xml version=\"1.0\"?>\n"
                   "<!-- comment --><root z=\"1\" a=\"2\" xmlns:p=\"urn:p\" xml:lang=\"en\">"
                   "<p:first m=\"&lt;&amp;&gt;&quot;&apos;\" n=\"&#233;&#x20AC;&#128512;\" "
                   "t=\"a&#9;b&#10;c\" s=\"a\tb\nc\"/>"
                   "text<?pi data?><second><![CDATA[<raw>&]]>x &amp; y</second><first/></root>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Name(), u"root");
  const TSvXmlAttributes& attributes = root->Attributes();
  ASSERT_EQ(attributes.Count(), 4);
  EXPECT_EQ(attributes.Item(0).Name(), u"z");
  EXPECT_EQ(attributes.Item(1).Name(), u"a");
  EXPECT_EQ(attributes.Item(2).Name(), u"xmlns:p");
  EXPECT_EQ(attributes.Item(3).Name(), u"xml:lang");
  EXPECT_EQ(root->Text(), u"text");

  ASSERT_EQ(root->ChildCount(), 3);
  const TSvXmlElement& first = root->Children(0);
  EXPECT_EQ(first.Name(), u"p:first");
  EXPECT_EQ(first.Attributes().GetString(u"m", {}), u"<&>\"'");
  EXPECT_EQ(first.Attributes().GetString(u"n", {}), u"\u00E9\u20AC\U0001F600");
  EXPECT_EQ(first.Attributes().GetString(u"t", {}), u"a\tb\nc");
  EXPECT_EQ(first.Attributes().GetString(u"s", {}), u"a b c"); // normalised by XML's rules
  EXPECT_EQ(first.ChildCount(), 0);
  EXPECT_EQ(root->Children(1).Text(), u"<raw>&x & y");
  EXPECT_EQ(root->Children(2).Attributes().Count(), 0);
  EXPECT_EQ(root->FindChild(u"p:first"), &first);
  EXPECT_EQ(root->FindChild(u"first"), &root->Children(2));
}

TEST(SvXmlReader, MalformedTextGivesLineAndColumn) {
  EXPECT_EQ(ErrorOf("<a>\n  <b></a>"), "mismatched tag at line 2, column 8");
  EXPECT_EQ(ErrorOf("<a x=\"1\" x=\"2\"/>"), "duplicate attribute at line 1, column 10");
  EXPECT_EQ(ErrorOf(""), "no element found at line 1, column 1");
  EXPECT_EQ(ErrorOf("<a>&nope;</a>"), "undefined entity at line 1, column 4");
  EXPECT_EQ(ErrorOf("<a/><b/>"), "junk after document element at line 1, column 5");
  EXPECT_EQ(ErrorOf("<a>\x01</a>"), "not well-formed (invalid token) at line 1, column 4");
  EXPECT_EQ(ErrorOf("<?xml version=\"1.0\" encoding=\"x-unknown\"?><a/>"),
            "unknown encoding \"x-unknown\" at line 1, column 31");
  // A code page that cannot carry a document, named as such.
  EXPECT_EQ(ErrorOf("<?xml version=\"1.0\" encoding=\"iso-2022-kr\"?><a/>"),
            "unknown encoding \"iso-2022-kr\" at line 1, column 31");
}

TEST(SvXmlReader, NeverLoadsExternalEntities) {
  sv::test::TSvTempDir dir;
  const std::string secret = dir.File("secret.txt");
  std::ofstream(secret) << "secret";
  const std::string uri = "file://" + secret;

  const std::string general = "<!DOCTYPE a [<!ENTITY e SYSTEM \"" + uri + "\">]><a>&e;</a>";
  EXPECT_NE(ErrorOf(general).find("external entity"), std::string::npos) << ErrorOf(general);

  // Behind an external subset or a parameter entity an undeclared entity would be
  // skipped, and dropped without a word from an attribute value: refused.
  const std::string refused = "document type with an external subset or parameter entities";
  for (const std::string& text :
       {"<!DOCTYPE a SYSTEM \"" + uri + "\"><a>&e;</a>",
        "<!DOCTYPE a SYSTEM \"" + uri + "\">\n<a v=\"x&e;y\"/>",
        "<!DOCTYPE a [<!ENTITY % p SYSTEM \"" + uri + "\"> %p;]><a v=\"&e;\">x</a>",
        std::string("<!DOCTYPE a [<!ENTITY % p \"\"> %p; <!ENTITY e \"e\">]><a v=\"&e;\"/>")}) {
    SCOPED_TRACE(text);
    const std::string error = ErrorOf(text);
    EXPECT_EQ(error.find(refused), 0u) << error;
    EXPECT_NE(error.find(" at line 1, column "), std::string::npos) << error;
  }
  // A standalone document reports the reference, in an attribute at its element.
  EXPECT_EQ(ErrorOf("<?xml version=\"1.0\" standalone=\"yes\"?><!DOCTYPE a SYSTEM \"" + uri +
                    "\">\n<a v=\"x&e;y\"/>"),
            "undefined entity at line 2, column 1");
  EXPECT_EQ(ErrorOf("<b>\n <a v=\"&e;\"/></b>"), "undefined entity at line 2, column 2");

  // Internal entities are expanded, within the parser's amplification limits.
  EXPECT_EQ(ReadXmlBytes("<!DOCTYPE a [<!ENTITY e \"&lt;in&gt;\">]><a v=\"&e;\">&e;</a>")->Text(),
            u"<in>");
  std::string laughs = "<!DOCTYPE a [<!ENTITY l0 \"lollollollollollollollollollol\">";
  for (int i = 1; i <= 9; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j)
      laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "\">";
  }
  laughs += "]><a>&l9;</a>";
  EXPECT_THROW(ReadXmlBytes(laughs), ESvXmlError);

  // A few hundred bytes may not expand to megabytes: four million units here.
  std::string small = "<!DOCTYPE a [<!ENTITY l0 \"lollollollollollollollollollollol\">";
  for (int i = 1; i <= 5; ++i) {
    small += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j)
      small += "&l" + std::to_string(i - 1) + ";";
    small += "\">";
  }
  small += "]><a>&l5;</a>";
  EXPECT_LT(small.size(), 400u);
  EXPECT_NE(ErrorOf(small).find("amplification"), std::string::npos) << ErrorOf(small);
  // Modest expansion stays allowed: 10,000 units.
  const std::string modest = small.substr(0, small.find("<!ENTITY l3")) + "]><a>&l2;</a>";
  EXPECT_EQ(ReadXmlBytes(modest)->Text().size(), 33u * 100);
}

TEST(SvXmlReader, HonoursTheDeclaredEncoding) {
  const std::u16string text = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"\u00E9\u4E2D\"/>";
  for (bool bigEndian : {false, true}) {
    const auto root = ReadXmlBytes(Utf16(text, bigEndian));
    EXPECT_EQ(root->Attributes().GetString(u"v", {}), u"\u00E9\u4E2D");
  }
  EXPECT_EQ(ReadXmlBytes("\xEF\xBB\xBF<a v=\"\xC3\xA9\"/>")->Attributes().GetString(u"v", {}),
            u"\u00E9");
  EXPECT_EQ(ReadXmlBytes("<?xml version=\"1.0\" encoding=\"Windows-1252\"?><a v=\"\xE9\x80\"/>")
                ->Attributes()
                .GetString(u"v", {}),
            u"\u00E9\u20AC");
  EXPECT_EQ(ReadXmlBytes("<?xml version=\"1.0\" encoding=\"windows-1251\"?><a v=\"\xC4\xE0\"/>")
                ->Attributes()
                .GetString(u"v", {}),
            u"\u0414\u0430");
  EXPECT_EQ(ReadXmlText(u"\uFEFF<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\u4E2D\"/>")
                ->Attributes()
                .GetString(u"v", {}),
            u"\u4E2D");
  // Invalid UTF-8 is refused, not replaced.
  EXPECT_THROW(ReadXmlBytes("<a v=\"\xC3\"/>"), ESvXmlError);
}

TEST(SvXmlReader, FilesAndDeepNesting) {
  EXPECT_THROW(ReadXmlFile("/nonexistent/file.xml"), ESvStreamError);
  sv::test::TSvTempDir dir;
  std::string deep;
  constexpr int kDepth = 100000;
  for (int i = 0; i < kDepth; ++i)
    deep += "<e>";
  for (int i = 0; i < kDepth; ++i)
    deep += "</e>";
  std::ofstream(dir.File("deep.xml"), std::ios::binary) << deep;
  auto root = ReadXmlFile(dir.File("deep.xml"));
  int depth = 1;
  for (const TSvXmlElement* e = root.get(); e->ChildCount() > 0; e = &e->Children(0))
    ++depth;
  EXPECT_EQ(depth, kDepth);
  root.reset(); // frees the chain without deep recursion
}
