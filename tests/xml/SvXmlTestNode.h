// A model object for the XML tests: typed attributes with defaults and owned child
// nodes, written as "node" elements.
#pragma once

#include "xml/SvXmlObject.h"

#include <memory>
#include <string>
#include <vector>

namespace sv::test {

enum TColour { clRed, clGreen, clBlue, clBlack };
inline constexpr const char* kColourNames[] = {"clRed", "clGreen", "clBlue", "clBlack"};
inline constexpr TSvTypeInfo kColourType = SvEnumTypeInfo("TColour", kColourNames);

class TNode : public TSvXmlObject {
public:
  std::u16string Caption;
  std::int64_t Count = 0;
  double Ratio = 1.0;
  bool Flag = false;
  TColour Colour = clRed;
  char16_t Mark = u'-';
  std::vector<std::unique_ptr<TNode>> Children;

  TNode& AddChild() { return *Children.emplace_back(std::make_unique<TNode>()); }

  std::unique_ptr<TSvObject> CreateNew() const override { return std::make_unique<TNode>(); }

  void Assign(const TSvPersistent& source) override {
    TSvXmlObject::Assign(source);
    const TNode& node = SvCast<TNode>(source);
    Caption = node.Caption;
    Count = node.Count;
    Ratio = node.Ratio;
    Flag = node.Flag;
    Colour = node.Colour;
    Mark = node.Mark;
    Children.clear();
    for (const auto& child : node.Children)
      Children.push_back(SvClone(*child));
  }

  bool IsEqual(const TSvObject& other) const override {
    const auto* node = dynamic_cast<const TNode*>(&other);
    if (!node || Caption != node->Caption || Count != node->Count || Ratio != node->Ratio ||
        Flag != node->Flag || Colour != node->Colour || Mark != node->Mark ||
        Children.size() != node->Children.size())
      return false;
    for (std::size_t i = 0; i < Children.size(); ++i)
      if (!Children[i]->IsEqual(*node->Children[i]))
        return false;
    return true;
  }

  std::u16string GetXmlName() const override { return u"node"; }
  TSvXmlStyle GetXmlStyle() const override { return Children.empty() ? xsEmpty : xsElements; }

  void WriteXmlAttributes(TSvXmlAttributes& attributes) const override {
    attributes.SetString(u"caption", Caption, u"");
    attributes.SetInt64(u"count", Count, 0);
    attributes.SetFloat(u"ratio", Ratio, 1.0);
    attributes.SetBool(u"flag", Flag, false);
    attributes.SetEnum(u"colour", &kColourType, Colour, clRed);
    attributes.SetString(u"mark", std::u16string(1, Mark), u"-");
  }

  void WriteXmlContent(TSvXmlFile& file) const override {
    for (const auto& child : Children)
      child->WriteToXml(file);
  }

  void ReadXmlElement(const TSvXmlElement& element) override {
    const TSvXmlAttributes& attributes = element.Attributes();
    Caption = attributes.GetString(u"caption", u"");
    Count = attributes.GetInt64(u"count", 0);
    Ratio = attributes.GetFloat(u"ratio", 1.0);
    Flag = attributes.GetBool(u"flag", false);
    Colour = attributes.GetEnum(u"colour", kColourType, clRed);
    Mark = attributes.GetChar(u"mark", u'-');
    Children.clear();
    for (int i = 0; i < element.ChildCount(); ++i)
      if (element.Children(i).Name() == u"node")
        AddChild().ReadFromElement(&element.Children(i));
  }
};

} // namespace sv::test
