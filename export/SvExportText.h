// Text of a dictionary written into open formats: UTF-16 to UTF-8 with the
// escaping of each format. A character a format cannot carry is written with the
// format's own escape where it has one, otherwise as U+FFFD; every function
// returns how many characters it replaced, so that nothing is dropped silently.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sv {

enum class TSvEscape {
  Plain,        // UTF-8 only: lone surrogates become U+FFFD
  XmlText,      // element content: & < > escaped, CR as &#13;
  XmlAttribute, // also " and TAB, LF, CR as references
  XmlTextCp,    // element content of XLIFF 2.0: forbidden characters as <cp hex="..."/>
  Json,         // inside "...": \" \\ \n \r \t \b \f, other controls and lone surrogates as \uXXXX
  Po,           // inside "...": C escapes; other controls as octal \ooo, but NUL and U+0004 replaced
  Csv,          // inside "...": " doubled
};

// Characters that XML 1.0 forbids: C0 controls but TAB, LF and CR; U+FFFE, U+FFFF.
// (Lone surrogates are not characters at all.)
constexpr bool IsXmlForbidden(char32_t c) {
  return (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF;
}

// Appends text to out as escape says; returns the number of characters replaced
// by U+FFFD.
std::size_t AppendEscaped(std::u16string_view text, TSvEscape escape, std::string& out);

// The same for UTF-8 text (names and the information block, already decoded).
std::size_t AppendEscaped(std::string_view utf8, TSvEscape escape, std::string& out);

// UTF-16 to UTF-8, a lone surrogate as U+FFFD; the number replaced.
std::size_t AppendUtf8Replacing(std::u16string_view text, std::string& out);

// 8-bit bytes read as UTF-8: invalid sequences become U+FFFD each; the number replaced.
std::size_t AppendValidUtf8(std::string_view bytes, std::string& out);

// Appends a code point as UTF-8.
void AppendCodePoint(char32_t c, std::string& out);

} // namespace sv
