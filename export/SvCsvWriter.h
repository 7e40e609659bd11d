// CSV (RFC 4180): every field quoted, CRLF line ends, UTF-8 without BOM; a header
// row "index,form_type,component_name" and the language codes, then one line per
// row with its texts in column order.
#pragma once

#include "export/SvExportWriter.h"

namespace sv {

void WriteCsv(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink);

} // namespace sv
