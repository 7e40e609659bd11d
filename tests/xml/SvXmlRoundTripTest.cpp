#include "locale/SvConvert.h"
#include "locale/SvLocaleTables.h"
#include "tests/support/SvProcess.h"
#include "tests/xml/SvXmlTestNode.h"
#include "text/SvErrors.h"
#include "xml/SvXmlFile.h"
#include "xml/SvXmlReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iconv.h>
#include <optional>
#include <set>
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
  TNode& more = root->AddChild();
  more.Caption = u"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC "
                 u"\u0939\u093F\u0928\u094D\u0926\u0940 \u0E44\u0E17\u0E22 "
                 u"\u65E5\u672C\u8A9E\u304B\u306A\u30AB\u30CA \uD55C\uAD6D\uC5B4 "
                 u"\u0627\u0644\u0639\u0631\u0628\u064A\u0629 \u00BD\u00BF\u00DF\u00F8 "
                 u"~$%@^`{}\\ \u00C9\u0301e\u0300";
  more.Mark = u'\u0915';
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

namespace {

// What xmllint reads of fileName, as a UTF-8 document; none when it does not know
// the encoding's name.
std::optional<std::string> LintedAsUtf8(const std::string& fileName, std::string& messages) {
  const sv::test::TSvProcessResult known = sv::test::RunProcess(
      "/bin/sh", {"-c", std::string(SV_XMLLINT) + " --noout \"$0\" 2>&1", fileName});
  messages = known.Output;
  if (known.Output.find("nsupported encoding") != std::string::npos)
    return std::nullopt;
  const sv::test::TSvProcessResult utf8 =
      sv::test::RunProcess(SV_XMLLINT, {"--encode", "UTF-8", fileName});
  if (utf8.ExitCode != 0 || known.ExitCode != 0)
    return std::string();
  return utf8.Output;
}

// What glibc's table of the encoding name (xmllint reads through it) reads bytes
// as; none when it cannot.
std::optional<std::u16string> NameReads(const std::string& name, const std::string& bytes) {
  iconv_t cd = iconv_open("UTF-16LE", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1))
    return std::nullopt;
  char* source = const_cast<char*>(bytes.data());
  std::size_t sourceLeft = bytes.size();
  char16_t out[16];
  char* target = reinterpret_cast<char*>(out);
  std::size_t targetLeft = sizeof out;
  const bool read = iconv(cd, &source, &sourceLeft, &target, &targetLeft) != std::size_t(-1) &&
                    iconv(cd, nullptr, nullptr, &target, &targetLeft) != std::size_t(-1);
  iconv_close(cd);
  if (!read)
    return std::nullopt;
  return std::u16string(out, (sizeof out - targetLeft) / sizeof(char16_t));
}

// Drops the characters that the code page writes as they are but the standard
// table of its name reads otherwise (a vendor's extras and variants, such as the
// euro sign of 936 or the backslash of 932).
void DropVendorExtras(TNode& node, const std::string& name, int codePage) {
  const auto extra = [&](char16_t c) {
    const std::u16string one(1, c);
    const std::string bytes = WideToAnsi(one, codePage);
    return !(c >= 0xD800 && c <= 0xDFFF) && AnsiToWide(bytes, codePage) == one &&
           NameReads(name, bytes) != one;
  };
  std::erase_if(node.Caption, extra);
  if (extra(node.Mark))
    node.Mark = u'x';
  for (auto& child : node.Children)
    DropVendorExtras(*child, name, codePage);
}

} // namespace

TEST(SvXmlRoundTrip, EveryCodePageOfTheTableReadsBackOrIsRefused) {
  const std::unique_ptr<TNode> tree = SampleTree();
  sv::test::TSvTempDir dir;
  std::set<int> written;
  int linted = 0;
  for (const TSvCodePageData& row : CodePageTable()) {
    SCOPED_TRACE(row.CodePage);
    std::unique_ptr<TSvXmlFile> file;
    try {
      file = std::make_unique<TSvXmlFile>(teAnsi, row.CodePage);
    } catch (const ESvXmlError& e) {
      EXPECT_EQ(e.what(),
                "Code page " + std::to_string(row.CodePage) + " cannot carry an XML document");
      continue;
    }
    written.insert(row.CodePage);
    file->WriteDocument(u"document", *tree);
    const std::string bytes = file->Bytes();
    TNode copy;
    ASSERT_NO_THROW(copy.ReadFromXml(*ReadXmlBytes(bytes), u"node")) << bytes;
    EXPECT_TRUE(copy.IsEqual(*tree)) << bytes;

    // An independent parser reads the same text, where it knows the encoding.
    std::unique_ptr<TNode> standard = SvClone(*tree);
    DropVendorExtras(*standard, row.Name, row.CodePage);
    const std::string fileName = dir.File(std::to_string(row.CodePage) + ".xml");
    {
      TSvXmlFile onDisk(fileName, teAnsi, row.CodePage);
      onDisk.WriteDocument(u"document", *standard);
    }
    TNode fromFile;
    ASSERT_NO_THROW(fromFile.ReadFromXml(*ReadXmlFile(fileName), u"node")) << ReadAll(fileName);
    EXPECT_TRUE(fromFile.IsEqual(*standard));
    std::string messages;
    const std::optional<std::string> utf8 = LintedAsUtf8(fileName, messages);
    if (!utf8)
      continue;
    ++linted;
    ASSERT_FALSE(utf8->empty()) << messages;
    TNode linted;
    linted.ReadFromXml(*ReadXmlBytes(*utf8), u"node");
    EXPECT_TRUE(linted.IsEqual(*standard)) << *utf8 << ReadAll(fileName);
  }
  // Shifting, three- and four-byte forms and ISCII are written and read back;
  // ISO 2022 Korean and HZ, which shift before the declaration, are refused.
  for (int codePage : {50220, 50221, 50222, 50227, 51932, 54936, 57002, 57006, 57011, 20269, 932,
                       1252, 10079, 720})
    EXPECT_EQ(written.count(codePage), 1u) << codePage;
  for (int codePage : {50225, 52936, 1047, 875, 65001, 1200})
    EXPECT_EQ(written.count(codePage), 0u) << codePage;
  RecordProperty("written", static_cast<int>(written.size()));
  RecordProperty("linted", linted);
  EXPECT_GE(written.size(), 70u);
  EXPECT_GE(linted, 50);
}

// 1258 writes some letters as a base and a combining mark, and its converter reads
// such a pair back as one letter: its documents cannot be read through a byte map.
TEST(SvXmlRoundTrip, VietnameseLettersWrittenAsBaseAndMarkReadBackWhole) {
  TNode tree;
  tree.Mark = u'\u01FE'; // O with stroke and acute: D8 EC
  tree.Caption = u"\u01FE \u1EA0 \u00D8\u0301 A\u0301";
  TSvXmlFile file(teAnsi, 1258);
  file.WriteDocument(u"document", tree);
  TNode copy;
  ASSERT_NO_THROW(copy.ReadFromXml(*ReadXmlBytes(file.Bytes()), u"node")) << file.Bytes();
  EXPECT_TRUE(copy.IsEqual(tree)) << file.Bytes();
}
