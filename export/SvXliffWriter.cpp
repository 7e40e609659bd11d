#include "export/SvXliffWriter.h"

namespace sv {

namespace {

void AppendContext(TSvExportSource& source, int row, const char* type, std::u16string_view text,
                   std::string& out) {
  out += "<context context-type=\"";
  out += type;
  out += "\">";
  AppendText(source, row, -1, text, TSvEscape::XmlText, out);
  out += "</context>";
}

// One <file>: the source with one target column, or with none (-1).
void WriteFile(TSvExportSource& source, int from, int target, TSvExportBuffer& buffer) {
  std::string& out = buffer.Text();
  out += "<file original=\"";
  AppendText(source, source.BaseName(), TSvEscape::XmlAttribute, out);
  out += "\" source-language=\"";
  // A dictionary without languages has no source language; "und" is the code
  // for an undetermined one.
  out += from >= 0 ? source.Languages()[from].Code : std::string("und");
  out += '"';
  if (target >= 0) {
    out += " target-language=\"";
    out += source.Languages()[target].Code;
    out += '"';
  }
  out += " datatype=\"plaintext\">\n";
  const std::string& description = source.Information().Description;
  if (!description.empty()) {
    out += "<header><note>";
    AppendText(source, description, TSvEscape::XmlText, out);
    out += "</note></header>\n";
  }
  out += "<body>\n";
  if (from >= 0) {
    source.ForEachRow([&](int row, const TSvSvqRowView& view) {
      const std::u16string_view text = view.Texts[from];
      if (text.empty())
        return;
      const std::u16string_view translation = target >= 0 ? view.Texts[target] : std::u16string_view();
      out += "<trans-unit id=\"";
      out += std::to_string(row);
      out += '"';
      if (!view.ComponentName.empty()) {
        out += " resname=\"";
        AppendText(source, row, -1, view.ComponentName, TSvEscape::XmlAttribute, out);
        out += '"';
      }
      if (!translation.empty())
        out += " approved=\"yes\"";
      out += " xml:space=\"preserve\">\n<source>";
      AppendText(source, row, from, text, TSvEscape::XmlText, out);
      out += "</source>\n";
      if (!translation.empty()) {
        out += "<target state=\"translated\">";
        AppendText(source, row, target, translation, TSvEscape::XmlText, out);
        out += "</target>\n";
      }
      if (view.HasFormType || view.HasComponentName) {
        // The strict schema wants a group's name unique in its <file>.
        out += "<context-group name=\"row-";
        out += std::to_string(row);
        out += "\" purpose=\"information\">";
        if (view.HasFormType)
          AppendContext(source, row, "x-form-type", view.FormType, out);
        if (view.HasComponentName)
          AppendContext(source, row, "x-component-name", view.ComponentName, out);
        out += "</context-group>\n";
      }
      out += "</trans-unit>\n";
      buffer.Spill();
    });
  }
  out += "</body>\n</file>\n";
}

} // namespace

void WriteXliff(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink) {
  TSvExportBuffer buffer(sink);
  buffer.Text() += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n";
  const int from = ExportSourceColumn(source, options);
  const std::vector<int> targets = ExportTargets(source, options);
  if (targets.empty())
    WriteFile(source, from, -1, buffer);
  for (int target : targets)
    WriteFile(source, from, target, buffer);
  buffer.Text() += "</xliff>\n";
  buffer.Flush();
}

} // namespace sv
