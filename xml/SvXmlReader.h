// Element trees from XML text. Names and attributes are kept as written (qualified
// names such as "xml:lang" included) in document order; entity and character
// references are decoded; the declared encoding is honoured: UTF-8, UTF-16 and the
// 8-bit code pages of the code page table. Nothing outside the text is ever loaded:
// a reference to an external entity is an error. Malformed text raises ESvXmlError
// with line and column.
#pragma once

#include "xml/SvXmlFile.h"

#include <memory>
#include <string>
#include <string_view>

namespace sv {

// The document element of the encoded text bytes.
std::unique_ptr<TSvXmlElement> ReadXmlBytes(std::string_view bytes);
// The document element of text; an encoding declaration in it is not consulted.
std::unique_ptr<TSvXmlElement> ReadXmlText(const std::u16string& text);
// The document element of the file fileName; ESvStreamError when it cannot be read.
std::unique_ptr<TSvXmlElement> ReadXmlFile(const std::string& fileName);

} // namespace sv
