// The figures of svq stats written for people (a text table, an HTML page) and for
// scripts (JSON, CSV).
#pragma once

#include "stats/SvStats.h"

#include <string_view>
#include <vector>

namespace sv {

class TSvExportBuffer;

enum class TSvStatsFormat { Text, Json, Csv, Html };

// The format named "text", "json", "csv" or "html"; false for another name.
bool StatsFormatOf(std::string_view name, TSvStatsFormat& format);

struct TSvStatsReportOptions {
  TSvStatsFormat Format = TSvStatsFormat::Text;
  bool Bars = false;    // text: a bar of block characters after each line
  bool Colours = false; // text: the percent and its bar coloured by how far it is
};

// Writes the report of the dictionaries (in the order given) and their totals into
// out, handing full blocks to its sink; flushes at the end.
void WriteStatsReport(const std::vector<TSvDictionaryStats>& dictionaries,
                      const std::vector<TSvLanguageStats>& totals,
                      const TSvStatsReportOptions& options, TSvExportBuffer& out);

} // namespace sv
