#include "export/SvCsvWriter.h"

namespace sv {

void WriteCsv(TSvExportSource& source, const TSvExportOptions& /*options*/, TSvExportSink& sink) {
  TSvExportBuffer buffer(sink);
  std::string& out = buffer.Text();
  out += "\"index\",\"form_type\",\"component_name\"";
  for (const TSvExportLanguage& language : source.Languages()) {
    out += ",\"";
    AppendText(source, language.Code, TSvEscape::Csv, out);
    out += '"';
  }
  out += "\r\n";
  source.ForEachRow([&](int row, const TSvSvqRowView& view) {
    out += '"';
    out += std::to_string(row);
    out += "\",\"";
    AppendText(source, row, -1, view.FormType, TSvEscape::Csv, out);
    out += "\",\"";
    AppendText(source, row, -1, view.ComponentName, TSvEscape::Csv, out);
    out += '"';
    for (std::size_t column = 0; column < view.Texts.size(); ++column) {
      out += ",\"";
      AppendText(source, row, static_cast<int>(column), view.Texts[column], TSvEscape::Csv, out);
      out += '"';
    }
    out += "\r\n";
    buffer.Spill();
  });
  buffer.Flush();
}

} // namespace sv
