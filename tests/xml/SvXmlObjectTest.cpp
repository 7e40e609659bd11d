#include "xml/SvXmlObject.h"
#include "tests/xml/SvXmlTestNode.h"
#include "xml/SvXmlReader.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace sv;
using sv::test::TNode;

namespace {

// An object whose name, style, attributes and children the test sets.
class TShape : public TSvXmlObject {
public:
  std::u16string Name = u"shape";
  TSvXmlStyle Style = xsElements;
  std::vector<std::pair<std::u16string, std::u16string>> Values;
  std::vector<std::unique_ptr<TShape>> Children;
  std::u16string Content;
  bool Fail = false;

  std::unique_ptr<TSvObject> CreateNew() const override { return std::make_unique<TShape>(); }
  std::u16string GetXmlName() const override { return Name; }
  TSvXmlStyle GetXmlStyle() const override { return Style; }
  void WriteXmlAttributes(TSvXmlAttributes& attributes) const override {
    for (const auto& [name, value] : Values)
      attributes.SetString(name, value, u"");
    if (Fail)
      throw std::runtime_error("hook failed");
  }
  void WriteXmlContent(TSvXmlFile& file) const override {
    if (!Content.empty())
      file.WriteCharacterData(Content);
    for (const auto& child : Children)
      child->WriteToXml(file);
  }
  TShape& AddChild(std::u16string name, TSvXmlStyle style) {
    TShape& child = *Children.emplace_back(std::make_unique<TShape>());
    child.Name = std::move(name);
    child.Style = style;
    return child;
  }
};

std::string Written(const TSvXmlObject& object, const std::u16string& name = {}, int depth = 0) {
  TSvXmlFile file;
  for (int i = 0; i < depth; ++i)
    file.WriteStartTag(u"level", nullptr);
  const std::size_t start = file.Bytes().size();
  object.WriteToXml(file, name);
  EXPECT_EQ(file.OpenElements().Count(), depth);
  return file.Bytes().substr(start);
}

} // namespace

TEST(SvXmlObject, LayoutByStyle) {
  TShape a;
  a.Name = u"a";
  a.Values = {{u"x", u"1"}};
  a.AddChild(u"b", xsEmpty);
  EXPECT_EQ(Written(a), "<a x=\"1\">\n  <b/>\n</a>\n");
  // At depth 1 the element is indented by two spaces and its children by four.
  EXPECT_EQ(Written(a, {}, 1), "  <a x=\"1\">\n    <b/>\n  </a>\n");

  EXPECT_EQ(Written(TSvXmlObject()), "<object>\n</object>\n");

  TShape none;
  none.Style = xsNone;
  EXPECT_EQ(Written(none, u"given"), "");

  TShape inlined;
  inlined.Style = xsInline;
  inlined.Content = u"a < b & c";
  EXPECT_EQ(Written(inlined, u"i", 1), "  <i>a &lt; b &amp; c</i>\n");
  inlined.Style = static_cast<TSvXmlStyle>(9);
  EXPECT_EQ(Written(inlined, u"i"), "<i>a &lt; b &amp; c</i>\n");

  TShape quoted;
  quoted.Style = xsEmpty;
  quoted.Values = {{u"v", u"say \"hi\" & go"}, {u"empty", u""}};
  EXPECT_EQ(Written(quoted, u"q"), "<q v=\"say &quot;hi&quot; &amp; go\"/>\n");
}

TEST(SvXmlObject, DefaultsAreOmittedAndNamesChosen) {
  TNode node;
  EXPECT_EQ(Written(node), "<node/>\n");
  EXPECT_EQ(Written(node, u"test"), "<test/>\n");
  node.Count = 3;
  node.Colour = sv::test::clBlue;
  node.Mark = u'\u00A0';
  EXPECT_EQ(Written(node), "<node count=\"3\" colour=\"clBlue\" mark=\"&#160;\"/>\n");
}

TEST(SvXmlObject, ErrorsOfHooksPassAndLeaveTheWriterAsItWas) {
  TShape failing;
  failing.Fail = true;
  failing.Values = {{u"a", u"1"}};
  TSvXmlFile file;
  EXPECT_THROW(failing.WriteToXml(file), std::runtime_error);
  EXPECT_EQ(file.Bytes(), "");
  EXPECT_EQ(file.OpenElements().Count(), 0);
}

TEST(SvXmlObject, ReadsFromTheNamedChildOrTheElement) {
  const auto root = ReadXmlBytes("<root><node caption=\"first\" count=\"2\"/>"
                                 "<other count=\"5\"/><node caption=\"second\"/></root>");
  TNode node;
  node.Caption = u"kept";
  node.Count = 9;
  node.ReadFromXml(*root, u"missing");
  EXPECT_EQ(node.Caption, u"kept");
  EXPECT_EQ(node.Count, 9);

  node.ReadFromXml(*root, u"node");
  EXPECT_EQ(node.Caption, u"first");
  EXPECT_EQ(node.Count, 2);

  node.ReadFromXml(root->Children(1));
  EXPECT_EQ(node.Caption, u"");
  EXPECT_EQ(node.Count, 5);

  node.ReadFromElement(nullptr);
  EXPECT_EQ(node.Count, 5);
  // A value the reader cannot take passes its error.
  const auto bad = ReadXmlBytes("<node ratio=\"x\"/>");
  EXPECT_THROW(node.ReadFromXml(*bad), ESvConvertError);
}
