// XLIFF 1.2: one <file> per target language in one document, one <trans-unit> per
// row whose source is not empty, its context in a <context-group>. The
// dictionary holds accepted translations: a target is translated and approved.
#pragma once

#include "export/SvExportWriter.h"

namespace sv {

void WriteXliff(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink);

} // namespace sv
