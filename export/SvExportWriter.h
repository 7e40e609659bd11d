// What the writers of every format share: their options, the target columns,
// texts appended with their replacements counted, and the header names of a
// dictionary as the report prints them.
#pragma once

#include "export/SvExportSink.h"
#include "export/SvExportSource.h"
#include "export/SvExportText.h"

#include <string>
#include <string_view>
#include <vector>

namespace sv {

struct TSvExportOptions {
  int Source = 0;           // the source column; none when the dictionary has no language
  int Target = -1;          // one target column, or -1: every language but the source
  std::string ToolVersion;  // written where a format names its creating tool
};

// The source column of options, or -1 when the dictionary has no language.
int ExportSourceColumn(const TSvExportSource& source, const TSvExportOptions& options);

// The target columns: the one chosen (none when it is the source), or every column
// but the source in order.
std::vector<int> ExportTargets(const TSvExportSource& source, const TSvExportOptions& options);

// Appends a text escaped and counts its replacements for (row, column).
inline void AppendText(TSvExportSource& source, int row, int column, std::u16string_view text,
                       TSvEscape escape, std::string& out) {
  const std::size_t replaced = AppendEscaped(text, escape, out);
  if (replaced > 0)
    source.Replacements().Add(row, column, replaced);
}

// UTF-8 text (names, the information block), already decoded.
inline void AppendText(TSvExportSource& source, std::string_view text, TSvEscape escape,
                       std::string& out) {
  const std::size_t replaced = AppendEscaped(text, escape, out);
  if (replaced > 0)
    source.Replacements().Add(-1, -1, replaced);
}

// The report's English names of the header bytes ("Little-endian", "Unicode",
// "FormType+ComponentName"); the number for a value without a name.
std::string ByteOrderText(int byte);
std::string CharacterSetText(int byte);
std::string ContextKindText(int byte);

// The information block's time for TMX ("YYYYMMDDThhmmssZ"); empty without a time
// or outside the years 0001-9999.
std::string CompactDateTime(double time);

} // namespace sv
