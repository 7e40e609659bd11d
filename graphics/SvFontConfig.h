// The installed fonts as fontconfig knows them: families by the character sets they
// cover, and the bitmap sizes and styles of one face. Fontconfig is started on the
// first query only, and the family list is read once per configuration.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sv {

// An installed font family with the character set it was listed for.
struct TSvFontFace {
  std::string Name; // UTF-8
  std::int32_t Charset = 0;
};
using TSvFontFaces = std::vector<TSvFontFace>;

// The fontconfig languages that a font must cover to stand for a character set;
// empty for a character set that names no languages.
struct TSvCharsetLanguages {
  std::int32_t Charset;
  const char* Languages; // separated by spaces
};
// One row per row of CharsetTable, in its order.
std::span<const TSvCharsetLanguages> CharsetLanguageTable();

// The default character set: listing for it lists every family.
inline constexpr std::int32_t kDefaultCharset = 1;

// Appends to faces the families that cover charset and are not in faces yet, sorted
// by name, each with charset as its value. For kDefaultCharset every family, with the
// first character set of CharsetTable that it covers (kDefaultCharset when none).
void AppendFontFamilies(TSvFontFaces& faces, std::int32_t charset);

using TSvFaceStyles = std::uint8_t; // bit 0 bold, bit 1 italic, 2 underline, 3 strike-out

// What fontconfig knows about the fonts of one family.
struct TSvFaceInfo {
  bool Found = false;                // the family has fonts
  bool Bitmap = false;               // none of them is scalable
  std::vector<int> Points;           // the sizes of the bitmap strikes, ascending
  std::vector<TSvFaceStyles> Styles; // the distinct styles of the bitmap fonts, ascending
};
TSvFaceInfo QueryFontFace(const std::string& family);

// Loads a fontconfig configuration file and makes it current; the family list is
// read again on the next query. ESvError when the file does not load.
void UseFontConfiguration(const std::string& fileName);

// How often fontconfig was started, and how often the installed families were listed.
int FontconfigStarts();
int FontEnumerations();

} // namespace sv
