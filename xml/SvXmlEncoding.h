// The 8-bit code pages in which XML documents are read and written: those of the
// code page table that write the markup's ASCII characters as ASCII. A single-byte
// code page is read through a byte map; the others (double-byte, multi-byte and
// shifting ones) are converted as a whole, in both directions.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace sv {

struct TSvXmlByteMap {
  int CodePage = 0;
  // By byte: the character it stands for, -1 for a byte that stands for nothing.
  std::array<int, 256> Map{};
};

// The map of a single-byte codePage that keeps the ASCII characters as they are;
// none for any other code page (a map cannot describe lead bytes, longer forms or
// shift states).
std::optional<TSvXmlByteMap> XmlByteMapOf(int codePage);
// Whether documents can be written in codePage: the markup's characters are the
// same bytes as in ASCII, each piece converted on its own.
bool XmlCanCarry(int codePage);
// The character of a two-byte sequence in codePage, or -1.
int XmlDoubleByteChar(int codePage, unsigned char lead, unsigned char trail);
// The code page of an encoding name, compared without regard to case; 0 for none.
int XmlCodePageOfName(std::string_view name);
// The name of codePage in the code page table; empty for none.
std::string XmlNameOfCodePage(int codePage);

} // namespace sv
