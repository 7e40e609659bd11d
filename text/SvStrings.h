// The program's string table: localizable texts are looked up by their English
// text through GNU gettext. SvN only marks a text for extraction.
#pragma once

namespace sv {

// The translation of an English text, or the text itself when there is none.
const char* SvTr(const char* english);

// Marks a text as localizable where it is stored, to be looked up later with SvTr.
constexpr const char* SvN(const char* english) {
  return english;
}

// Binds the text domain to its catalog folder. Called once at program start.
void InitStringTable();

} // namespace sv
