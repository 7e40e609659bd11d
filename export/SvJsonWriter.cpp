#include "export/SvJsonWriter.h"

namespace sv {

namespace {

void AppendString(TSvExportSource& source, std::string_view text, std::string& out) {
  out += '"';
  AppendText(source, text, TSvEscape::Json, out);
  out += '"';
}

} // namespace

void WriteJson(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink) {
  TSvExportBuffer buffer(sink);
  std::string& out = buffer.Text();
  const int from = ExportSourceColumn(source, options);

  out += "{\n\"file\": ";
  AppendString(source, source.FileName(), out);
  out += ",\n\"version\": " + std::to_string(source.Version());
  out += ",\n\"byte_order\": \"" + ByteOrderText(source.ByteOrder());
  out += "\",\n\"character_set\": \"" + CharacterSetText(source.CharacterSet());
  out += "\",\n\"context_kind\": \"" + ContextKindText(source.ContextKind());
  out += "\",\n\"locale_count\": " + std::to_string(source.LocaleCount());
  out += ",\n\"source\": ";
  if (from >= 0)
    AppendString(source, source.Languages()[from].Code, out);
  else
    out += "null";
  out += ",\n\"languages\": [";
  const char* separator = "\n";
  for (const TSvExportLanguage& language : source.Languages()) {
    out += separator;
    out += "{\"index\": " + std::to_string(language.Index) + ", \"code\": ";
    AppendString(source, language.Code, out);
    out += ", \"id\": ";
    AppendString(source, language.Id, out);
    out += ", \"name\": ";
    AppendString(source, language.Name, out);
    out += '}';
    separator = ",\n";
  }
  out += "],\n\"rows\": [";
  separator = "\n";
  source.ForEachRow([&](int row, const TSvSvqRowView& view) {
    out += separator;
    out += "{\"index\": ";
    out += std::to_string(row);
    out += ", \"form_type\": ";
    if (view.HasFormType) {
      out += '"';
      AppendText(source, row, -1, view.FormType, TSvEscape::Json, out);
      out += '"';
    } else {
      out += "null";
    }
    out += ", \"component_name\": ";
    if (view.HasComponentName) {
      out += '"';
      AppendText(source, row, -1, view.ComponentName, TSvEscape::Json, out);
      out += '"';
    } else {
      out += "null";
    }
    out += ", \"texts\": [";
    for (std::size_t column = 0; column < view.Texts.size(); ++column) {
      if (column > 0)
        out += ", ";
      out += '"';
      AppendText(source, row, static_cast<int>(column), view.Texts[column], TSvEscape::Json, out);
      out += '"';
    }
    out += "]}";
    separator = ",\n";
    buffer.Spill();
  });
  const TSvExportInformation& information = source.Information();
  out += "],\n\"information\": {\"description\": ";
  AppendString(source, information.Description, out);
  out += ", \"owner\": ";
  AppendString(source, information.Owner, out);
  out += ", \"users\": [";
  separator = "";
  for (const std::string& user : information.Users) {
    out += separator;
    AppendString(source, user, out);
    separator = ", ";
  }
  out += "], \"time\": ";
  const std::string time = IsoDateTime(information.Time);
  if (time.empty())
    out += "null";
  else
    AppendString(source, time, out);
  out += "}\n}\n";
  buffer.Flush();
}

} // namespace sv
