// TMX 1.4b: every language of the dictionary (or the source and one target) in one
// document, one <tu> per row that has a text, the row's context as <prop>s and the
// information block as header notes and props.
#pragma once

#include "export/SvExportWriter.h"

namespace sv {

void WriteTmx(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink);

} // namespace sv
