// Console routines of the tool: formatted lines, the banner and the usage heading.
// Everything goes to standard output.
#pragma once

#include "text/SvFormat.h"

#include <initializer_list>
#include <string_view>

namespace sv {

// Writes text and a line break to standard output.
void WriteLine(std::string_view text = {});
// Writes text without a line break.
void WriteText(std::string_view text);
// Formats args into format (%d, %s) and writes the result as one line.
void WriteLineFmt(std::string_view format, std::initializer_list<TSvFormatArg> args);
// "<name> Version <n> <rights notice>", the first line of every run.
void WriteBanner(std::string_view programName);
// "Syntax:".
void WriteSyntax();
// Flushes standard output.
void FlushOutput();

} // namespace sv
