// XLIFF 2.0: one target language per document, one <unit> per row whose source is
// not empty; characters XML cannot carry are <cp hex="XXXX"/>.
#pragma once

#include "export/SvExportWriter.h"

namespace sv {

// The target is options.Target, or the first target when none is chosen.
void WriteXliff2(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink);

} // namespace sv
