#include "locale/SvConvert.h"
#include "tests/support/SvProcess.h"
#include "tests/xml/SvXmlTestNode.h"
#include "xml/SvXmlFile.h"
#include "xml/SvXmlReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace sv;
using sv::test::TNode;

namespace {

// A tree whose values hold the five special characters, line breaks, tabs, U+00A0,
// references in the text, blanks at both ends and text of several scripts.
std::unique_ptr<TNode> SampleTree() {
  auto root = std::make_unique<TNode>();
  root->Caption = u"<b>\"Fish\" & 'Chips'</b>";
  root->Count = -9000000000;
  root->Ratio = 1.5e-6;
  root->Colour = sv::test::clBlack;
  TNode& lines = root->AddChild();
  lines.Caption = u"line one\nline two\r\nline three\rend\tcol\u00A0nbsp";
  lines.Flag = true;
  lines.Ratio = 1e20;
  TNode& scripts = root->AddChild();
  scripts.Caption = u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439 \u4E2D\u6587 "
                    u"\u05E2\u05D1\u05E8\u05D9\u05EA \u00E9\u20AC \U0001F600";
  scripts.Mark = u'\u0416';
  scripts.Colour = sv::test::clGreen;
  TNode& nested = scripts.AddChild();
  nested.Caption = u"  &amp; &#38; &lt; ]]> --> ";
  nested.Count = 42;
  nested.Mark = u'&';
  nested.AddChild().Caption = u"\u00A0";
  return root;
}

std::string ReadAll(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

struct TEncodingCase {
  TSvTextEncoding Encoding;
  int CodePage;
  const char* File;
  const char16_t* Carried = u""; // sample text an 8-bit document carries as it is
};

} // namespace

TEST(SvXmlRoundTrip, WellFormedAndEqualInEveryDocumentEncoding) {
  const std::unique_ptr<TNode> tree = SampleTree();
  sv::test::TSvTempDir dir;
  for (const TEncodingCase& c :
       {TEncodingCase{teUtf8, 0, "utf8.xml"}, TEncodingCase{teUtf16LE, 0, "utf16le.xml"},
        TEncodingCase{teUtf16BE, 0, "utf16be.xml"}, TEncodingCase{teAnsi, 1252, "cp1252.xml"}}) {
    SCOPED_TRACE(c.File);
    const std::string fileName = dir.File(c.File);
    {
      TSvXmlFile file(fileName, c.Encoding, c.CodePage);
      file.WriteDocument(u"document", *tree);
    }
    const sv::test::TSvProcessResult lint = sv::test::RunProcess(SV_XMLLINT, {"--noout", fileName});
    EXPECT_EQ(lint.ExitCode, 0) << lint.Output;

    const std::unique_ptr<TSvXmlElement> document = ReadXmlFile(fileName);
    EXPECT_EQ(document->Name(), u"document");
    TNode copy;
    copy.ReadFromXml(*document, u"node");
    EXPECT_TRUE(copy.IsEqual(*tree));

    // The same document in memory, read from its bytes.
    TSvXmlFile memory(c.Encoding, c.CodePage);
    memory.WriteDocument(u"document", *tree);
    EXPECT_EQ(memory.Bytes(), ReadAll(fileName));
    if (c.Encoding == teAnsi) {
      EXPECT_NE(memory.Bytes().find(WideToAnsi(c.Carried, c.CodePage)), std::string::npos);
    }
    TNode fromBytes;
    fromBytes.ReadFromXml(*ReadXmlBytes(memory.Bytes()), u"node");
    EXPECT_TRUE(fromBytes.IsEqual(*tree));
  }
}

TEST(SvXmlRoundTrip, EightBitDocumentsUseReferencesForForeignCharacters) {
  TNode node;
  node.Caption = u"\u00E9\u4E2D\U0001F600";
  TSvXmlFile file(teAnsi, 1252);
  file.WriteDocument(u"d", node);
  EXPECT_NE(file.Bytes().find("caption=\"\xE9&#20013;&#128512;\""), std::string::npos)
      << file.Bytes();
}
