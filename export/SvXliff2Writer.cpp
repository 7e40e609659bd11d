#include "export/SvXliff2Writer.h"

namespace sv {

namespace {

void AppendNote(TSvExportSource& source, int row, const char* category, std::u16string_view text,
                std::string& out) {
  out += "<note category=\"";
  out += category;
  out += "\">";
  AppendText(source, row, -1, text, TSvEscape::XmlText, out);
  out += "</note>";
}

} // namespace

void WriteXliff2(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink) {
  TSvExportBuffer buffer(sink);
  std::string& out = buffer.Text();
  const int from = ExportSourceColumn(source, options);
  const std::vector<int> targets = ExportTargets(source, options);
  const int target = targets.empty() ? -1 : targets[0];

  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.0\" srcLang=\"";
  out += from >= 0 ? source.Languages()[from].Code : std::string("und");
  out += '"';
  if (target >= 0) {
    out += " trgLang=\"";
    out += source.Languages()[target].Code;
    out += '"';
  }
  out += ">\n<file id=\"f1\" original=\"";
  AppendText(source, source.BaseName(), TSvEscape::XmlAttribute, out);
  out += "\">\n";
  const std::string& description = source.Information().Description;
  if (!description.empty()) {
    out += "<notes><note category=\"description\">";
    AppendText(source, description, TSvEscape::XmlText, out);
    out += "</note></notes>\n";
  }
  bool anyUnit = false;
  if (from >= 0) {
    source.ForEachRow([&](int row, const TSvSvqRowView& view) {
      const std::u16string_view text = view.Texts[from];
      if (text.empty())
        return;
      anyUnit = true;
      const std::u16string_view translation = target >= 0 ? view.Texts[target] : std::u16string_view();
      out += "<unit id=\"";
      out += std::to_string(row);
      out += "\" xml:space=\"preserve\">\n";
      if (!view.FormType.empty() || !view.ComponentName.empty()) {
        out += "<notes>";
        if (!view.FormType.empty())
          AppendNote(source, row, "form-type", view.FormType, out);
        if (!view.ComponentName.empty())
          AppendNote(source, row, "component-name", view.ComponentName, out);
        out += "</notes>\n";
      }
      out += translation.empty() ? "<segment state=\"initial\">" : "<segment state=\"translated\">";
      out += "<source>";
      AppendText(source, row, from, text, TSvEscape::XmlTextCp, out);
      out += "</source>";
      if (!translation.empty()) {
        out += "<target>";
        AppendText(source, row, target, translation, TSvEscape::XmlTextCp, out);
        out += "</target>";
      }
      out += "</segment>\n</unit>\n";
      buffer.Spill();
    });
  }
  // A file holds at least one unit or group: an empty group when no row has a source.
  if (!anyUnit)
    out += "<group id=\"empty\"/>\n";
  out += "</file>\n</xliff>\n";
  buffer.Flush();
}

} // namespace sv
