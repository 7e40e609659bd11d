// The dictionary as one JSON object: header values, languages, every row with
// its context and texts in column order, and the information block. A lone
// surrogate is a \uXXXX escape, so reading the JSON back gives each text exactly.
#pragma once

#include "export/SvExportWriter.h"

namespace sv {

void WriteJson(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink);

} // namespace sv
