#include "export/SvPoWriter.h"

#include "export/SvExportCodes.h"

#include <unordered_map>

namespace sv {

namespace {

// A header value or comment line: its control characters (line breaks above all)
// become spaces, so that the value stays on its line.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      c = ' ';
  return line;
}

void AppendHeaderField(TSvExportSource& source, const char* name, std::string_view value, std::string& out) {
  out += '"';
  out += name;
  out += ": ";
  AppendText(source, OneLine(value), TSvEscape::Po, out);
  out += "\\n\"\n";
}

// "YYYY-MM-DD hh:mm+0000" of the information block's time, or gettext's placeholder.
std::string PoDate(double time) {
  const std::string iso = IsoDateTime(time);
  if (iso.size() != 19)
    return "YEAR-MO-DA HO:MI+ZONE";
  return iso.substr(0, 10) + ' ' + iso.substr(11, 5) + "+0000";
}

void AppendHeader(TSvExportSource& source, const TSvExportOptions& options, int target, std::string& out) {
  const TSvExportInformation& information = source.Information();
  const std::string name = source.BaseName();
  if (target >= 0)
    out += "# " + OneLine(source.Languages()[target].Name) + " translation of " + OneLine(name) + ".\n";
  else
    out += "# Template of " + OneLine(name) + ".\n";
  std::size_t start = 0;
  const std::string& description = information.Description;
  while (start < description.size()) {
    std::size_t end = description.find('\n', start);
    if (end == std::string::npos)
      end = description.size();
    out += "# " + OneLine(std::string_view(description).substr(start, end - start)) + '\n';
    start = end + 1;
  }
  out += "#\nmsgid \"\"\nmsgstr \"\"\n";
  const std::string date = PoDate(information.Time);
  AppendHeaderField(source, "Project-Id-Version", name, out);
  AppendHeaderField(source, "Report-Msgid-Bugs-To", "", out);
  AppendHeaderField(source, "POT-Creation-Date", date, out);
  AppendHeaderField(source, "PO-Revision-Date", date, out);
  AppendHeaderField(source, "Last-Translator",
                    information.Owner.empty() ? std::string("FULL NAME <EMAIL@ADDRESS>") : information.Owner, out);
  AppendHeaderField(source, "Language-Team",
                    target >= 0 ? source.Languages()[target].Name : std::string("LANGUAGE <LL@li.org>"), out);
  AppendHeaderField(source, "Language", target >= 0 ? GettextLanguageOf(source.Languages()[target].Code) : "", out);
  AppendHeaderField(source, "MIME-Version", "1.0", out);
  AppendHeaderField(source, "Content-Type", "text/plain; charset=UTF-8", out);
  AppendHeaderField(source, "Content-Transfer-Encoding", "8bit", out);
  AppendHeaderField(source, "X-Generator", "svq " + options.ToolVersion, out);
}

bool StartsWithBreak(std::u16string_view text) {
  return !text.empty() && text.front() == u'\n';
}
bool EndsWithBreak(std::u16string_view text) {
  return !text.empty() && text.back() == u'\n';
}

TSvPoCounts WriteCatalog(TSvExportSource& source, const TSvExportOptions& options, int target,
                         TSvExportSink& sink) {
  TSvPoCounts counts;
  TSvExportBuffer buffer(sink);
  std::string& out = buffer.Text();
  AppendHeader(source, options, target, out);
  const int from = ExportSourceColumn(source, options);
  if (from < 0) {
    buffer.Flush();
    return counts;
  }

  // Per key: the translations written under it as a row's own (context, source),
  // and whether an entry has the key, a row's own msgctxt included. A key is "\1"
  // and the escaped msgctxt (or "\0" without one), "\4", the escaped msgid.
  struct TKey {
    std::vector<std::string> Translations;
    bool Written = false;
  };
  std::unordered_map<std::string, TKey> keys;
  keys.reserve(static_cast<std::size_t>(source.RowCount()));
  std::string context, id, key, translation;
  source.ForEachRow([&](int row, const TSvSvqRowView& view) {
    const std::u16string_view text = view.Texts[from];
    if (text.empty()) {
      ++counts.EmptySources;
      return;
    }
    const std::u16string_view targetText = target >= 0 ? view.Texts[target] : std::u16string_view();
    context.clear();
    if (!view.FormType.empty() || !view.ComponentName.empty()) {
      AppendText(source, row, -1, view.FormType, TSvEscape::Po, context);
      if (view.HasFormType && view.HasComponentName)
        context += '|';
      AppendText(source, row, -1, view.ComponentName, TSvEscape::Po, context);
    }
    bool hasContext = !context.empty();
    id.clear();
    AppendText(source, row, from, text, TSvEscape::Po, id);
    translation.clear();
    AppendText(source, row, target, targetText, TSvEscape::Po, translation);
    auto makeKey = [&] {
      key.assign(hasContext ? "\1" : "\0", 1);
      key += context;
      key += '\4';
      key += id;
    };
    makeKey();
    TKey* entry = &keys[key];
    for (const std::string& earlier : entry->Translations)
      if (earlier == translation) {
        ++counts.Merged;
        return;
      }
    entry->Translations.push_back(translation);
    if (entry->Written) {
      // Another translation of a key already written: the row's own msgctxt.
      const std::string tag = "[row " + std::to_string(row) + "]";
      do {
        context += hasContext ? " " + tag : tag;
        hasContext = true;
        makeKey();
        entry = &keys[key];
      } while (entry->Written);
      ++counts.Disambiguated;
    }
    entry->Written = true;

    out += '\n';
    const bool fuzzy = !targetText.empty() && (StartsWithBreak(text) != StartsWithBreak(targetText) ||
                                               EndsWithBreak(text) != EndsWithBreak(targetText));
    if (fuzzy) {
      out += "# The translation's leading or trailing line break differs from the source's.\n#, fuzzy\n";
      ++counts.Fuzzy;
    }
    out += "#. row ";
    out += std::to_string(row);
    out += '\n';
    if (hasContext) {
      out += "msgctxt \"";
      out += context;
      out += "\"\n";
    }
    out += "msgid \"";
    out += id;
    out += "\"\nmsgstr \"";
    out += translation;
    out += "\"\n";
    ++counts.Entries;
    buffer.Spill();
  });
  buffer.Flush();
  return counts;
}

} // namespace

TSvPoCounts WritePo(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink) {
  const std::vector<int> targets = ExportTargets(source, options);
  return WriteCatalog(source, options, targets.empty() ? -1 : targets[0], sink);
}

TSvPoCounts WritePot(TSvExportSource& source, const TSvExportOptions& options, TSvExportSink& sink) {
  return WriteCatalog(source, options, -1, sink);
}

} // namespace sv
