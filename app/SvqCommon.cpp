#include "app/SvqCommon.h"

#include "text/SvStrings.h"

#include <cstdio>

#ifndef SV_VERSION
#define SV_VERSION "1.0.0"
#endif

namespace sv {

void WriteText(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void WriteLine(std::string_view text) {
  WriteText(text);
  std::fputc('\n', stdout);
}

void WriteLineFmt(std::string_view format, std::initializer_list<TSvFormatArg> args) {
  WriteLine(SvFormat(format, args));
}

void WriteBanner(std::string_view programName) {
  // The rights notice: a localizable word, then the fixed years and maker.
  WriteLineFmt("%s %s %s %s 2026 The SvqPeek developers",
               {programName, SvTr("Version"), SV_VERSION, SvTr("Copyright")});
}

void WriteSyntax() {
  WriteLine(SvTr("Syntax:"));
}

void FlushOutput() {
  std::fflush(stdout);
}

} // namespace sv
