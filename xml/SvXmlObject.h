// TSvXmlObject: the base of model objects that write themselves as one XML element
// and read themselves back from one.
#pragma once

#include "core/SvObject.h"
#include "xml/SvXmlFile.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sv {

// How an object's element is laid out; values above xsElements as xsInline.
enum TSvXmlStyle : std::uint8_t {
  xsNone = 0,    // nothing is written
  xsEmpty = 1,   // one empty element with attributes only, on its own line
  xsInline = 2,  // start tag, content and end tag on one line
  xsElements = 3 // start tag, child elements one level deeper, end tag on own lines
};

// Subclasses give their element name and style, add their attributes with the typed
// setters of TSvXmlAttributes (with defaults, omitted when equal), write their child
// objects by the children's WriteToXml, and read all of it back in ReadXmlElement
// with the same defaults.
class TSvXmlObject : public TSvObject {
public:
  TSvXmlObject() = default;

  std::unique_ptr<TSvObject> CreateNew() const override;

  // The element name used when the caller gives none: "object" here.
  virtual std::u16string GetXmlName() const;
  // Must give the same answer throughout one WriteToXml.
  virtual TSvXmlStyle GetXmlStyle() const;
  virtual void BeforeWriteXmlAttributes(TSvXmlAttributes& attributes) const;
  virtual void WriteXmlAttributes(TSvXmlAttributes& attributes) const;
  virtual void WriteXmlContent(TSvXmlFile& file) const;
  virtual void ReadXmlElement(const TSvXmlElement& element);

  // Writes the object as one element named name (GetXmlName when empty).
  void WriteToXml(TSvXmlFile& file, const std::u16string& name = {}) const;
  // Reads the object from the first child of element named name, or from element
  // itself when name is empty. A missing child leaves the object as it is.
  void ReadFromXml(const TSvXmlElement& element, const std::u16string& name = {});
  // Reads the object from element when there is one.
  void ReadFromElement(const TSvXmlElement* element);
};

} // namespace sv
