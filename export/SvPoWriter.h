// gettext PO: one catalog per target language, and the template (POT). The row's
// context is the msgctxt: the form type and the component name joined by "|" when
// the dictionary has both, the one it has otherwise, none when it is empty.
//
// A row with an empty source is left out (msgid "" is the header's). Entries whose
// context, source and translation repeat are merged; another translation of a
// repeated (context, source) stays an entry of its own whose msgctxt gets
// " [row N]" appended ("[row N]" without a context), N the row's index. A
// translation whose leading or trailing line break differs from the source's is
// marked fuzzy with a translator comment, its text unchanged.
#pragma once

#include "export/SvExportWriter.h"

namespace sv {

struct TSvPoCounts {
  int Entries = 0;       // entries written, the header not counted
  int EmptySources = 0;  // rows left out
  int Merged = 0;        // rows merged into an equal entry
  int Disambiguated = 0; // entries that got a row's msgctxt
  int Fuzzy = 0;
};

// The catalog of options.Target, or of the first target when none is chosen.
TSvPoCounts WritePo(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink);

// The template: every source text with an empty msgstr.
TSvPoCounts WritePot(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink);

} // namespace sv
