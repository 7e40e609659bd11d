#include "xml/SvXmlObject.h"

namespace sv {

std::unique_ptr<TSvObject> TSvXmlObject::CreateNew() const {
  return std::make_unique<TSvXmlObject>();
}

std::u16string TSvXmlObject::GetXmlName() const {
  return u"object";
}

TSvXmlStyle TSvXmlObject::GetXmlStyle() const {
  return xsElements;
}

void TSvXmlObject::BeforeWriteXmlAttributes(TSvXmlAttributes&) const {}

void TSvXmlObject::WriteXmlAttributes(TSvXmlAttributes&) const {}

void TSvXmlObject::WriteXmlContent(TSvXmlFile&) const {}

void TSvXmlObject::ReadXmlElement(const TSvXmlElement&) {}

void TSvXmlObject::WriteToXml(TSvXmlFile& file, const std::u16string& name) const {
  if (GetXmlStyle() == xsNone)
    return;
  const std::u16string elementName = name.empty() ? GetXmlName() : name;
  TSvXmlAttributes attributes;
  BeforeWriteXmlAttributes(attributes);
  WriteXmlAttributes(attributes);
  if (GetXmlStyle() == xsEmpty) {
    file.WriteEmptyTag(elementName, &attributes, {}, {}, true);
    return;
  }
  const bool elements = GetXmlStyle() == xsElements;
  file.WriteStartTag(elementName, &attributes, {}, true, elements);
  WriteXmlContent(file);
  file.WriteEndTag(elements, {});
}

void TSvXmlObject::ReadFromXml(const TSvXmlElement& element, const std::u16string& name) {
  if (name.empty())
    ReadFromElement(&element);
  else
    ReadFromElement(element.FindChild(name, -1, {}));
}

void TSvXmlObject::ReadFromElement(const TSvXmlElement* element) {
  if (element)
    ReadXmlElement(*element);
}

} // namespace sv
