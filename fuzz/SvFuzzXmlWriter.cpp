// The XML writer's round trip: a tree of objects made from the input, written in an
// encoding and code page taken from the input, read back equal.
#include "fuzz/SvFuzzStart.h"
#include "fuzz/SvFuzzTargets.h"
#include "locale/SvLocaleTables.h"
#include "text/SvErrors.h"
#include "text/SvTextUtils.h"
#include "xml/SvXmlObject.h"
#include "xml/SvXmlReader.h"

#include <cmath>
#include <vector>

namespace {

class TFuzzNode : public sv::TSvXmlObject {
public:
  std::u16string Caption;
  std::int64_t Count = 0;
  double Ratio = 1.0;
  bool Flag = false;
  char16_t Mark = u'-';
  std::vector<std::unique_ptr<TFuzzNode>> Children;

  std::unique_ptr<sv::TSvObject> CreateNew() const override {
    return std::make_unique<TFuzzNode>();
  }
  bool IsEqual(const sv::TSvObject& other) const override {
    const auto& node = static_cast<const TFuzzNode&>(other);
    if (Caption != node.Caption || Count != node.Count || Ratio != node.Ratio ||
        Flag != node.Flag || Mark != node.Mark || Children.size() != node.Children.size())
      return false;
    for (std::size_t i = 0; i < Children.size(); ++i)
      if (!Children[i]->IsEqual(*node.Children[i]))
        return false;
    return true;
  }
  std::u16string GetXmlName() const override { return u"node"; }
  sv::TSvXmlStyle GetXmlStyle() const override {
    return Children.empty() ? sv::xsEmpty : sv::xsElements;
  }
  void WriteXmlAttributes(sv::TSvXmlAttributes& attributes) const override {
    attributes.SetString(u"caption", Caption, u"");
    attributes.SetInt64(u"count", Count, 0);
    attributes.SetFloat(u"ratio", Ratio, 1.0);
    attributes.SetBool(u"flag", Flag, false);
    attributes.SetString(u"mark", std::u16string(1, Mark), u"-");
  }
  void WriteXmlContent(sv::TSvXmlFile& file) const override {
    for (const auto& child : Children)
      child->WriteToXml(file);
  }
  void ReadXmlElement(const sv::TSvXmlElement& element) override {
    const sv::TSvXmlAttributes& attributes = element.Attributes();
    Caption = attributes.GetString(u"caption", u"");
    Count = attributes.GetInt64(u"count", 0);
    Ratio = attributes.GetFloat(u"ratio", 1.0);
    Flag = attributes.GetBool(u"flag", false);
    Mark = attributes.GetChar(u"mark", u'-');
    Children.clear();
    for (int i = 0; i < element.ChildCount(); ++i)
      if (element.Children(i).Name() == u"node") {
        auto child = std::make_unique<TFuzzNode>();
        child->ReadFromElement(&element.Children(i));
        Children.push_back(std::move(child));
      }
  }
};

std::unique_ptr<TFuzzNode> MakeNode(sv::fuzz::TFuzzInput& input, int depth, int& budget) {
  auto node = std::make_unique<TFuzzNode>();
  node->Caption = input.TakeWide(32);
  node->Count = input.Take<std::int64_t>();
  // The attribute keeps 15 significant digits; the value is one that survives them.
  const double ratio = input.Take<double>();
  node->Ratio = std::isfinite(ratio) ? sv::StrToFloatDot(sv::FloatToStrDot(ratio)) : 0.0;
  node->Flag = input.Take<std::uint8_t>() & 1;
  node->Mark = input.Take<char16_t>();
  const int children = depth < 4 ? input.Take<std::uint8_t>() % 4 : 0;
  for (int i = 0; i < children && --budget > 0; ++i)
    node->Children.push_back(MakeNode(input, depth + 1, budget));
  return node;
}

} // namespace

void sv::fuzz::FuzzXmlWriter(const std::uint8_t* data, std::size_t size) {
  sv::fuzz::TFuzzInput input(data, size);
  const auto encoding = static_cast<sv::TSvTextEncoding>(input.Take<std::uint8_t>() % 4);
  const auto table = sv::CodePageTable();
  const int codePage = encoding == sv::teAnsi ? table[input.TakeIndex(table.size())].CodePage : 0;
  int budget = 40;
  const std::unique_ptr<TFuzzNode> tree = MakeNode(input, 0, budget);

  std::string bytes;
  try {
    sv::TSvXmlFile file(encoding, codePage);
    file.WriteDocument(u"document", *tree);
    bytes = file.Bytes();
  } catch (const sv::ESvXmlError&) {
    return; // a code page that cannot carry a document, or a character XML forbids
  }
  std::unique_ptr<sv::TSvXmlElement> document;
  try {
    document = sv::ReadXmlBytes(bytes);
  } catch (const sv::ESvError& e) {
    sv::fuzz::Fail(std::string("the written document does not read back: ") + e.what() + "\n" +
                   bytes);
  }
  TFuzzNode copy;
  copy.ReadFromXml(*document, u"node");
  if (!copy.IsEqual(*tree))
    sv::fuzz::Fail("the tree read back differs:\n" + bytes);
  return;
}
