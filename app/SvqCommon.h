// Console routines of the tool: formatted lines, the banner and the usage heading.
// Everything goes to standard output through one buffer. When standard output is
// a terminal, control characters in the texts are shown as escapes (EscapeControls).
#pragma once

#include "text/SvFormat.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace sv {

// Writes text and a line break to standard output.
void WriteLine(std::string_view text = {});
// Writes text without a line break.
void WriteText(std::string_view text);
// Writes text exactly, also on a terminal (the layout of the error report).
void WriteRaw(std::string_view text);
// Formats args into format (%d, %s) and writes the result as one line.
void WriteLineFmt(std::string_view format, std::initializer_list<TSvFormatArg> args);
// "<name> Version <n> <rights notice>", the first line of every run.
void WriteBanner(std::string_view programName);
// "Syntax:".
void WriteSyntax();
// Room for size bytes at the end of the output buffer, for a writer that fills it in
// place; EndRawOutput(end) keeps the bytes up to end. They pass as WriteRaw's do,
// without escapes.
char* BeginRawOutput(std::size_t size);
void EndRawOutput(const char* end);
// Writes what the buffer holds to standard output.
void FlushOutput();
// Sends what FlushOutput writes to sink instead of standard output (the report into
// memory, for the fuzz target and the memory test); none: standard output again.
void SetOutputSink(std::string* sink);

// Whether texts are escaped; at start, whether standard output is a terminal.
bool EscapesOutput();
void SetEscapesOutput(bool escape);

// Text as a terminal may show it: U+0000-U+001F, U+007F and U+0080-U+009F become
// \n, \r, \t or \xHH, and the bidirectional controls U+202A-U+202E and
// U+2066-U+2069 become \u202A and the like. utf8 tells how the text is encoded;
// in an 8-bit code page the bytes 0x80-0x9F count as the C1 controls.
std::string EscapeControls(std::string_view text, bool utf8);

} // namespace sv
