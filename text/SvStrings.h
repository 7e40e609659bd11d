// The program's string table: localizable texts are looked up by their English
// text through GNU gettext. SvN only marks a text for extraction.
#pragma once

#include <string>

namespace sv {

// The translation of an English text, or the text itself when there is none.
const char* SvTr(const char* english);

// Marks a text as localizable where it is stored, to be looked up later with SvTr.
constexpr const char* SvN(const char* english) {
  return english;
}

// The folder of the compiled catalogs for a program at programPath: the locale folder
// that lies where the install layout puts it beside the program's folder, when it holds
// catalogs of the text domain (an un-installed build or a moved install), else the
// locale folder of the configured install prefix.
std::string CatalogFolder(const std::string& programPath);

// Binds the text domain to its catalog folder. Called once at program start.
void InitStringTable();

} // namespace sv
