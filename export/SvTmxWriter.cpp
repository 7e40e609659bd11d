#include "export/SvTmxWriter.h"

namespace sv {

void WriteTmx(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink) {
  TSvExportBuffer buffer(sink);
  std::string& out = buffer.Text();
  const int from = ExportSourceColumn(source, options);
  // The columns written: every language, or the source and the chosen target.
  std::vector<int> columns;
  for (const TSvExportLanguage& language : source.Languages())
    if (options.Target < 0 || language.Index == from || language.Index == options.Target)
      columns.push_back(language.Index);

  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n<header creationtool=\"svq\" "
         "creationtoolversion=\"";
  AppendText(source, options.ToolVersion, TSvEscape::XmlAttribute, out);
  out += "\" segtype=\"block\" o-tmf=\"svq\" adminlang=\"en\" srclang=\"";
  // A document without languages has no source language of its own.
  out += from >= 0 ? source.Languages()[from].Code : std::string("*all*");
  out += "\" datatype=\"plaintext\"";
  const TSvExportInformation& information = source.Information();
  const std::string date = CompactDateTime(information.Time);
  if (!date.empty())
    out += " creationdate=\"" + date + '"';
  out += ">\n";
  if (!information.Description.empty()) {
    out += "<note>";
    AppendText(source, information.Description, TSvEscape::XmlText, out);
    out += "</note>\n";
  }
  if (!information.Owner.empty()) {
    out += "<prop type=\"x-owner\">";
    AppendText(source, information.Owner, TSvEscape::XmlText, out);
    out += "</prop>\n";
  }
  for (const std::string& user : information.Users) {
    out += "<prop type=\"x-user\">";
    AppendText(source, user, TSvEscape::XmlText, out);
    out += "</prop>\n";
  }
  out += "</header>\n<body>\n";

  source.ForEachRow([&](int row, const TSvSvqRowView& view) {
    bool any = false;
    for (int column : columns)
      any |= !view.Texts[column].empty();
    if (!any)
      return;
    out += "<tu tuid=\"";
    out += std::to_string(row);
    out += "\">\n";
    if (!view.FormType.empty()) {
      out += "<prop type=\"x-form-type\">";
      AppendText(source, row, -1, view.FormType, TSvEscape::XmlText, out);
      out += "</prop>\n";
    }
    if (!view.ComponentName.empty()) {
      out += "<prop type=\"x-component-name\">";
      AppendText(source, row, -1, view.ComponentName, TSvEscape::XmlText, out);
      out += "</prop>\n";
    }
    for (int column : columns) {
      const std::u16string_view text = view.Texts[column];
      if (text.empty())
        continue;
      out += "<tuv xml:lang=\"";
      out += source.Languages()[column].Code;
      out += "\"><seg>";
      AppendText(source, row, column, text, TSvEscape::XmlText, out);
      out += "</seg></tuv>\n";
    }
    out += "</tu>\n";
    buffer.Spill();
  });
  out += "</body>\n</tmx>\n";
  buffer.Flush();
}

} // namespace sv
