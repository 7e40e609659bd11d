#include "stats/SvStatsReport.h"

#include "export/SvExportSink.h"
#include "export/SvExportText.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <algorithm>
#include <array>

namespace sv {

bool StatsFormatOf(std::string_view name, TSvStatsFormat& format) {
  constexpr std::pair<std::string_view, TSvStatsFormat> kNames[] = {
      {"text", TSvStatsFormat::Text},
      {"json", TSvStatsFormat::Json},
      {"csv", TSvStatsFormat::Csv},
      {"html", TSvStatsFormat::Html}};
  for (const auto& [known, value] : kNames)
    if (name == known) {
      format = value;
      return true;
    }
  return false;
}

namespace {

using TCounts = std::array<std::uint64_t, 6>;

// total, translated, untranslated, same_as_source, total_words, translated_words.
TCounts CountsOf(const TSvLanguageStats& stats) {
  return {stats.Total,      stats.Translated, stats.Untranslated(), stats.SameAsSource,
          stats.TotalWords, stats.TranslatedWords};
}

constexpr const char* kCountNames[] = {"total",      "translated",  "untranslated",
                                       "same_as_source", "total_words", "translated_words"};

// --- JSON -------------------------------------------------------------------

void JsonString(std::string_view utf8, std::string& out) {
  out += '"';
  AppendEscaped(utf8, TSvEscape::Json, out);
  out += '"';
}

void JsonStats(const std::vector<TSvLanguageStats>& list, std::string_view indent, std::string& out) {
  out += '[';
  for (std::size_t i = 0; i < list.size(); ++i) {
    const TSvLanguageStats& stats = list[i];
    out += i == 0 ? "\n" : ",\n";
    out += indent;
    out += "  {\"code\": ";
    JsonString(stats.Code, out);
    out += ", \"name\": ";
    JsonString(stats.Name, out);
    const TCounts counts = CountsOf(stats);
    for (std::size_t k = 0; k < std::size(kCountNames); ++k) {
      out += ", \"";
      out += kCountNames[k];
      out += "\": ";
      out += std::to_string(counts[k]);
    }
    out += ", \"percent\": ";
    out += stats.PercentText();
    out += '}';
  }
  if (!list.empty()) {
    out += '\n';
    out += indent;
  }
  out += ']';
}

void WriteJson(const std::vector<TSvDictionaryStats>& dictionaries,
               const std::vector<TSvLanguageStats>& totals, TSvExportBuffer& buffer) {
  std::string& out = buffer.Text();
  out += "{\"files\": [";
  for (std::size_t i = 0; i < dictionaries.size(); ++i) {
    const TSvDictionaryStats& d = dictionaries[i];
    out += i == 0 ? "\n  {\"file\": " : ",\n  {\"file\": ";
    JsonString(d.File, out);
    if (d.Broken) {
      out += ", \"error\": ";
      JsonString(d.Error, out);
    } else {
      out += ", \"rows\": " + std::to_string(d.Rows);
      out += ", \"language_count\": " + std::to_string(d.LanguageCount);
      out += ", \"source\": ";
      if (d.LanguageCount == 0)
        out += "null";
      else
        JsonString(d.Source, out);
      out += ", \"stats\": ";
      JsonStats(d.Stats, "  ", out);
      out += ", \"error\": null";
    }
    out += '}';
    buffer.Spill();
  }
  out += dictionaries.empty() ? "],\n\"totals\": " : "\n],\n\"totals\": ";
  JsonStats(totals, "", out);
  out += "}\n";
}

// --- CSV --------------------------------------------------------------------

void CsvField(std::string_view utf8, std::string& out) {
  if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) {
    AppendEscaped(utf8, TSvEscape::Plain, out);
    return;
  }
  out += '"';
  AppendEscaped(utf8, TSvEscape::Csv, out);
  out += '"';
}

void WriteCsv(const std::vector<TSvDictionaryStats>& dictionaries, TSvExportBuffer& buffer) {
  std::string& out = buffer.Text();
  out += "file,code,name,total,translated,untranslated,same_as_source,total_words,"
         "translated_words,percent\r\n";
  for (const TSvDictionaryStats& d : dictionaries) {
    for (const TSvLanguageStats& stats : d.Stats) {
      CsvField(d.File, out);
      out += ',';
      CsvField(stats.Code, out);
      out += ',';
      CsvField(stats.Name, out);
      const TCounts counts = CountsOf(stats);
      for (std::size_t k = 0; k < std::size(kCountNames); ++k) {
        out += ',';
        out += std::to_string(counts[k]);
      }
      out += ',';
      out += stats.PercentText();
      out += "\r\n";
    }
    buffer.Spill();
  }
}

// --- Text -------------------------------------------------------------------

// Characters of UTF-8 text, roughly the cells a terminal gives it.
std::size_t Width(std::string_view utf8) {
  std::size_t width = 0;
  for (const char c : utf8)
    width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return width;
}

void Pad(std::string& out, std::string_view text, std::size_t width, bool right) {
  const std::size_t fill = width > Width(text) ? width - Width(text) : 0;
  if (right)
    out.append(fill, ' ');
  out += text;
  if (!right)
    out.append(fill, ' ');
}

constexpr int kBarCells = 20;

// The percent as a bar of kBarCells cells, in eighths of a cell.
void AppendBar(unsigned tenths, std::string& out) {
  static const char* const kEighths[] = {"", "\u258F", "\u258E", "\u258D",
                                         "\u258C", "\u258B", "\u258A", "\u2589"};
  const unsigned eighths = tenths * kBarCells * 8 / 1000;
  int cells = 0;
  for (unsigned i = 0; i < eighths / 8; ++i, ++cells)
    out += "\u2588";
  if (eighths % 8 != 0) {
    out += kEighths[eighths % 8];
    ++cells;
  }
  for (; cells < kBarCells; ++cells)
    out += "\u2591";
}

const char* ColourOf(unsigned tenths) {
  return tenths == 1000 ? "\x1b[32m" : tenths >= 500 ? "\x1b[33m" : "\x1b[31m";
}

void TextTable(const std::vector<TSvLanguageStats>& list, const TSvStatsReportOptions& options,
               std::string& out) {
  const std::string headers[] = {SvTr("Code"),           SvTr("Language"),
                                 SvTr("Total"),          SvTr("Translated"),
                                 SvTr("Untranslated"),   SvTr("Same as source"),
                                 SvTr("Words"),          SvTr("Translated words"),
                                 SvTr("Percent")};
  constexpr std::size_t kColumns = std::size(headers);
  std::vector<std::array<std::string, kColumns>> cells;
  for (const TSvLanguageStats& stats : list) {
    auto& line = cells.emplace_back();
    line[0] = stats.Code;
    line[1] = stats.Name;
    const TCounts counts = CountsOf(stats);
    for (std::size_t k = 0; k < 6; ++k)
      line[2 + k] = std::to_string(counts[k]);
    line[8] = stats.PercentText();
  }
  std::array<std::size_t, kColumns> widths{};
  for (std::size_t c = 0; c < kColumns; ++c) {
    widths[c] = Width(headers[c]);
    for (const auto& line : cells)
      widths[c] = std::max(widths[c], Width(line[c]));
  }
  out += ' ';
  for (std::size_t c = 0; c < kColumns; ++c) {
    out += ' ';
    Pad(out, headers[c], c + 1 == kColumns ? 0 : widths[c], c >= 2);
  }
  out += '\n';
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const unsigned tenths = list[i].PercentTenths();
    out += ' ';
    for (std::size_t c = 0; c < kColumns; ++c) {
      out += ' ';
      if (c + 1 == kColumns && options.Colours)
        out += ColourOf(tenths);
      Pad(out, cells[i][c], widths[c], c >= 2);
    }
    if (options.Bars) {
      out += "  ";
      AppendBar(tenths, out);
    }
    if (options.Colours)
      out += "\x1b[0m";
    out += '\n';
  }
}

void WriteText(const std::vector<TSvDictionaryStats>& dictionaries,
               const std::vector<TSvLanguageStats>& totals, const TSvStatsReportOptions& options,
               TSvExportBuffer& buffer) {
  std::string& out = buffer.Text();
  std::size_t read = 0;
  for (std::size_t i = 0; i < dictionaries.size(); ++i) {
    const TSvDictionaryStats& d = dictionaries[i];
    if (i > 0)
      out += '\n';
    if (d.Broken) {
      out += SvFormat(SvTr("%s: cannot be read: %s"), {d.File, d.Error});
      out += '\n';
      continue;
    }
    ++read;
    out += d.File + ": " +
           SvFormat(SvTr("rows: %d, languages: %d, source: %s"),
                    {d.Rows, d.LanguageCount, d.Source.empty() ? "-" : d.Source});
    out += '\n';
    if (!d.Stats.empty())
      TextTable(d.Stats, options, out);
    buffer.Spill();
  }
  if (dictionaries.size() > 1) {
    out += '\n';
    out += SvFormat(SvTr("Totals (dictionaries read: %d):"), {static_cast<long>(read)});
    out += '\n';
    TextTable(totals, options, out);
  }
}

// --- HTML -------------------------------------------------------------------

constexpr const char* kHtmlStyle = R"(body{font-family:sans-serif;margin:2em;color:#222;background:#fff}
h1{font-size:1.6em}h2{font-size:1.2em;margin-top:2em;word-break:break-all}
p.meta{color:#555}
table{border-collapse:collapse}
th,td{padding:.25em .6em;border-bottom:1px solid #ddd}
th{text-align:left;background:#f3f3f3}
td.n{text-align:right;font-variant-numeric:tabular-nums}
div.bar{width:12em;height:.9em;background:#e5e5e5;border-radius:.2em;overflow:hidden}
div.fill{height:100%;background:#c0392b}
tr.half div.fill{background:#d4a017}
tr.done div.fill{background:#2e8b57}
section.broken{color:#a00}
)";

void Html(std::string_view utf8, std::string& out) {
  AppendEscaped(utf8, TSvEscape::XmlText, out);
}

void HtmlTable(const std::vector<TSvLanguageStats>& list, std::string& out) {
  out += "<table>\n<tr>";
  for (const char* header : {"Code", "Language", "Total", "Translated", "Untranslated",
                             "Same as source", "Words", "Translated words", "Percent", ""}) {
    out += "<th>";
    Html(*header ? SvTr(header) : "", out);
    out += "</th>";
  }
  out += "</tr>\n";
  for (const TSvLanguageStats& stats : list) {
    const unsigned tenths = stats.PercentTenths();
    out += tenths == 1000 ? "<tr class=\"done\">" : tenths >= 500 ? "<tr class=\"half\">" : "<tr>";
    out += "<td class=\"code\">";
    Html(stats.Code, out);
    out += "</td><td class=\"name\">";
    Html(stats.Name, out);
    out += "</td>";
    const TCounts counts = CountsOf(stats);
    for (std::size_t k = 0; k < 6; ++k)
      out += "<td class=\"n\">" + std::to_string(counts[k]) + "</td>";
    const std::string percent = stats.PercentText();
    out += "<td class=\"n\">" + percent + "</td>";
    out += "<td><div class=\"bar\"><div class=\"fill\" style=\"width:" + percent +
           "%\"></div></div></td></tr>\n";
  }
  out += "</table>\n";
}

void WriteHtml(const std::vector<TSvDictionaryStats>& dictionaries,
               const std::vector<TSvLanguageStats>& totals, TSvExportBuffer& buffer) {
  std::string& out = buffer.Text();
  const std::string title = SvTr("Translation statistics");
  out += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
  Html(title, out);
  out += "</title>\n<style>\n";
  out += kHtmlStyle;
  out += "</style>\n</head>\n<body>\n<h1>";
  Html(title, out);
  out += "</h1>\n";
  std::size_t read = 0;
  for (const TSvDictionaryStats& d : dictionaries)
    read += !d.Broken;
  out += "<section class=\"totals\">\n<h2>";
  Html(SvFormat(SvTr("Totals (dictionaries read: %d)"), {static_cast<long>(read)}), out);
  out += "</h2>\n";
  HtmlTable(totals, out);
  out += "</section>\n";
  for (const TSvDictionaryStats& d : dictionaries) {
    out += d.Broken ? "<section class=\"broken\">\n<h2>" : "<section class=\"dictionary\">\n<h2>";
    Html(d.File, out);
    out += "</h2>\n<p class=\"meta\">";
    if (d.Broken) {
      Html(SvFormat(SvTr("cannot be read: %s"), {d.Error}), out);
      out += "</p>\n</section>\n";
      continue;
    }
    Html(SvFormat(SvTr("rows: %d, languages: %d, source: %s"),
                  {d.Rows, d.LanguageCount, d.Source.empty() ? "-" : d.Source}),
         out);
    out += "</p>\n";
    if (!d.Stats.empty())
      HtmlTable(d.Stats, out);
    out += "</section>\n";
    buffer.Spill();
  }
  out += "</body>\n</html>\n";
}

} // namespace

void WriteStatsReport(const std::vector<TSvDictionaryStats>& dictionaries,
                      const std::vector<TSvLanguageStats>& totals,
                      const TSvStatsReportOptions& options, TSvExportBuffer& out) {
  switch (options.Format) {
  case TSvStatsFormat::Text:
    WriteText(dictionaries, totals, options, out);
    break;
  case TSvStatsFormat::Json:
    WriteJson(dictionaries, totals, out);
    break;
  case TSvStatsFormat::Csv:
    WriteCsv(dictionaries, out);
    break;
  case TSvStatsFormat::Html:
    WriteHtml(dictionaries, totals, out);
    break;
  }
  out.Flush();
}

} // namespace sv
