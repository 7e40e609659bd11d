// The 8-bit code pages in which XML documents are read and written: those of the
// code page table that keep the ASCII characters, in one or two bytes a character.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace sv {

struct TSvXmlByteMap {
  int CodePage = 0;
  // By byte: the character it stands for, -2 for the first byte of a two-byte
  // character, -1 for a byte that stands for nothing.
  std::array<int, 256> Map{};
};

// The map of codePage; none when the code page is not in the table or does not keep
// the ASCII characters as they are.
std::optional<TSvXmlByteMap> XmlByteMapOf(int codePage);
// The character of a two-byte sequence in codePage, or -1.
int XmlDoubleByteChar(int codePage, unsigned char lead, unsigned char trail);
// The code page of an encoding name, compared without regard to case; 0 for none.
int XmlCodePageOfName(std::string_view name);
// The name of codePage in the code page table; empty for none.
std::string XmlNameOfCodePage(int codePage);

} // namespace sv
