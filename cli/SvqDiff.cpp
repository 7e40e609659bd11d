// svq diff: what changed between two dictionaries, as a unified diff for people or
// as JSON for scripts. Exit status as diff(1): 0 the same, 1 different, 2 trouble.
#include "app/SvqCommon.h"
#include "cli/SvqCli.h"
#include "cli/SvqCommands.h"
#include "export/SvExportSink.h"
#include "export/SvExportText.h"
#include "stats/SvDiff.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>

namespace sv {

namespace {

constexpr int kDiffSame = 0;
constexpr int kDiffDifferent = 1;
constexpr int kDiffTrouble = 2;

const TSvqOption kDiffOptions[] = {
    {'f', "format", true},
    {'s', "source", true},
};

void ShowDiffHelp() {
  std::fputs(SvTr("Usage: svq diff [OPTION]... OLD NEW\n"
                  "Compares two SVQ dictionaries: their languages, header values and information\n"
                  "block, and their rows matched by form type, component name and source text.\n"
                  "\n"
                  "  -f, --format=FORMAT  text (the default, in the style of a unified diff)\n"
                  "                         or json\n"
                  "  -s, --source=CODE    the source language by code or locale id (default: the\n"
                  "                         first language of each dictionary)\n"
                  "  -h, --help           display this help and exit\n"
                  "\n"
                  "Exit status is 0 if the dictionaries are the same, 1 if they differ,\n"
                  "and 2 if trouble.\n"),
             stdout);
}

// "1" for the first row, as people count them; "" for none.
std::string RowNumber(char sign, int row) {
  return row < 0 ? std::string() : sign + std::to_string(row + 1) + ' ';
}

class TTextWriter : public TSvDiffVisitor {
public:
  TTextWriter(TSvExportBuffer& out, const std::string& oldName, const std::string& newName)
      : FOut(out), FEscape(IsTerminal(1)) {
    Line("--- ", oldName);
    Line("+++ ", newName);
  }

  void Head(const TSvDiffHead& head) override {
    if (!head.LanguagesAdded.empty() || !head.LanguagesRemoved.empty()) {
      FOut.Text() += "@@ languages @@\n";
      for (const std::string& code : head.LanguagesRemoved)
        Line("-", code);
      for (const std::string& code : head.LanguagesAdded)
        Line("+", code);
    }
    Fields("@@ header @@\n", head.Header);
    Fields("@@ information @@\n", head.Information);
  }

  void Change(const TSvDiffRow& row) override {
    std::string& text = FOut.Text();
    text += "@@ " + RowNumber('-', row.OldRow) + RowNumber('+', row.NewRow) + "@@ ";
    if (!row.FormType.empty() || !row.ComponentName.empty()) {
      AppendShown(row.FormType);
      text += '.';
      AppendShown(row.ComponentName);
      text += ' ';
    }
    Quoted(row.Source);
    text += '\n';
    for (const TSvDiffText& entry : row.Texts)
      if (entry.Old)
        TextLine('-', entry.Code, *entry.Old);
    for (const TSvDiffText& entry : row.Texts)
      if (entry.New)
        TextLine('+', entry.Code, *entry.New);
    FOut.Spill();
  }

  void End(const TSvDiffCounts& counts) override {
    FOut.Text() += SvFormat(SvTr("rows: %d added, %d removed, %d changed, %d unchanged"),
                            {counts.Added, counts.Removed, counts.Changed, counts.Unchanged});
    FOut.Text() += '\n';
  }

private:
  void Shown(std::string_view utf8) {
    FOut.Text() += FEscape ? EscapeControls(utf8, true) : std::string(utf8);
  }
  void AppendShown(std::u16string_view text) {
    std::string utf8;
    AppendEscaped(text, TSvEscape::Plain, utf8);
    Shown(utf8);
  }
  void Line(std::string_view prefix, std::string_view utf8) {
    FOut.Text() += prefix;
    Shown(utf8);
    FOut.Text() += '\n';
  }
  void Quoted(std::u16string_view text) {
    FOut.Text() += '"';
    AppendShown(text);
    FOut.Text() += '"';
  }
  void TextLine(char sign, std::string_view code, std::u16string_view text) {
    FOut.Text() += sign;
    FOut.Text() += code;
    FOut.Text() += ": ";
    Quoted(text);
    FOut.Text() += '\n';
  }
  void Value(char sign, const char* name, const TSvDiffValue& value) {
    if (std::holds_alternative<std::monostate>(value))
      return;
    std::string& text = FOut.Text();
    text += sign;
    text += name;
    text += ':';
    if (const auto* number = std::get_if<long long>(&value)) {
      text += ' ' + std::to_string(*number);
    } else if (const auto* string = std::get_if<std::string>(&value)) {
      text += " \"";
      Shown(*string);
      text += '"';
    } else {
      const auto& users = std::get<std::vector<std::string>>(value);
      for (std::size_t i = 0; i < users.size(); ++i) {
        text += i == 0 ? " \"" : ", \"";
        Shown(users[i]);
        text += '"';
      }
    }
    text += '\n';
  }
  void Fields(const char* title, const std::vector<TSvDiffField>& fields) {
    if (fields.empty())
      return;
    FOut.Text() += title;
    for (const TSvDiffField& field : fields) {
      Value('-', field.Name, field.Old);
      Value('+', field.Name, field.New);
    }
  }

  TSvExportBuffer& FOut;
  bool FEscape;
};

class TJsonWriter : public TSvDiffVisitor {
public:
  TJsonWriter(TSvExportBuffer& out, const std::string& oldName, const std::string& newName)
      : FOut(out) {
    std::string& text = FOut.Text();
    text += "{\"old\": ";
    String(oldName);
    text += ", \"new\": ";
    String(newName);
  }

  void Head(const TSvDiffHead& head) override {
    std::string& text = FOut.Text();
    text += ",\n \"languages\": {\"added\": ";
    Strings(head.LanguagesAdded);
    text += ", \"removed\": ";
    Strings(head.LanguagesRemoved);
    text += "},\n \"header\": ";
    Fields(head.Header);
    text += ",\n \"information\": ";
    Fields(head.Information);
    text += ",\n \"changes\": [";
  }

  void Change(const TSvDiffRow& row) override {
    static const char* const kKinds[] = {"added", "removed", "changed"};
    std::string& text = FOut.Text();
    text += FFirstChange ? "\n  " : ",\n  ";
    FFirstChange = false;
    text += "{\"kind\": \"";
    text += kKinds[static_cast<int>(row.Kind)];
    text += "\", \"form_type\": ";
    String(row.FormType);
    text += ", \"component_name\": ";
    String(row.ComponentName);
    text += ", \"source\": ";
    String(row.Source);
    text += ", \"texts\": {";
    for (std::size_t i = 0; i < row.Texts.size(); ++i) {
      const TSvDiffText& entry = row.Texts[i];
      text += i == 0 ? "" : ", ";
      String(entry.Code);
      text += ": {\"old\": ";
      OptionalString(entry.Old);
      text += ", \"new\": ";
      OptionalString(entry.New);
      text += '}';
    }
    text += "}}";
    FOut.Spill();
  }

  void End(const TSvDiffCounts& counts) override {
    FOut.Text() += FFirstChange ? "],\n" : "\n ],\n";
    FOut.Text() += SvFormat(
        " \"rows\": {\"added\": %d, \"removed\": %d, \"changed\": %d, \"unchanged\": %d}}\n",
        {counts.Added, counts.Removed, counts.Changed, counts.Unchanged});
  }

private:
  void String(std::string_view utf8) {
    FOut.Text() += '"';
    AppendEscaped(utf8, TSvEscape::Json, FOut.Text());
    FOut.Text() += '"';
  }
  void String(std::u16string_view text) {
    FOut.Text() += '"';
    AppendEscaped(text, TSvEscape::Json, FOut.Text());
    FOut.Text() += '"';
  }
  void OptionalString(const std::optional<std::u16string_view>& text) {
    if (text)
      String(*text);
    else
      FOut.Text() += "null";
  }
  void Strings(const std::vector<std::string>& values) {
    FOut.Text() += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0)
        FOut.Text() += ", ";
      String(values[i]);
    }
    FOut.Text() += ']';
  }
  void Value(const TSvDiffValue& value) {
    if (std::holds_alternative<std::monostate>(value))
      FOut.Text() += "null";
    else if (const auto* number = std::get_if<long long>(&value))
      FOut.Text() += std::to_string(*number);
    else if (const auto* string = std::get_if<std::string>(&value))
      String(*string);
    else
      Strings(std::get<std::vector<std::string>>(value));
  }
  void Fields(const std::vector<TSvDiffField>& fields) {
    FOut.Text() += '{';
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0)
        FOut.Text() += ", ";
      String(std::string_view(fields[i].Name));
      FOut.Text() += ": {\"old\": ";
      Value(fields[i].Old);
      FOut.Text() += ", \"new\": ";
      Value(fields[i].New);
      FOut.Text() += '}';
    }
    FOut.Text() += '}';
  }

  TSvExportBuffer& FOut;
  bool FFirstChange = true;
};

// Standard output; a failed write is no fault of the dictionary being read.
class TOutputSink : public TSvDescriptorSink {
public:
  struct EFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
  };
  TOutputSink() : TSvDescriptorSink(1, SvTr("standard output")) {}
  void Write(std::string_view bytes) override {
    try {
      TSvDescriptorSink::Write(bytes);
    } catch (const std::exception& e) {
      throw EFailed(e.what());
    }
  }
};

// Hands everything to the writer, and notes that the old dictionary is read once
// the head is reported: what the reader raises after it is the new one's fault.
class TTracker : public TSvDiffVisitor {
public:
  TTracker(TSvDiffVisitor& writer, const std::string*& reading, const std::string& newName)
      : FWriter(writer), FReading(reading), FNewName(newName) {}
  void Head(const TSvDiffHead& head) override {
    FReading = &FNewName;
    FWriter.Head(head);
  }
  void Change(const TSvDiffRow& row) override { FWriter.Change(row); }
  void End(const TSvDiffCounts& counts) override { FWriter.End(counts); }

private:
  TSvDiffVisitor& FWriter;
  const std::string*& FReading;
  const std::string& FNewName;
};

} // namespace

int RunSvqDiff(const std::vector<std::string>& args) {
  const TSvqParsedOptions options = ParseSvqOptions("diff", args, kDiffOptions);
  if (options.Help) {
    ShowDiffHelp();
    return kDiffSame;
  }
  const std::string* format = options.Last('f');
  const bool json = format && *format == "json";
  if (format && !json && *format != "text")
    throw ESvqUsage("diff", SvFormat(SvTr("invalid argument '%s' for '--format'"), {*format}));
  if (options.Operands.empty())
    throw ESvqUsage("diff", SvTr("missing operand"));
  if (options.Operands.size() == 1)
    throw ESvqUsage("diff", SvFormat(SvTr("missing operand after '%s'"), {options.Operands[0]}));
  if (options.Operands.size() > 2)
    throw ESvqUsage("diff", SvFormat(SvTr("extra operand '%s'"), {options.Operands[2]}));
  const std::string* sourceOption = options.Last('s');
  const std::string source = sourceOption ? *sourceOption : std::string();

  const std::string oldName = ResolveDictionaryName(options.Operands[0]);
  const std::string newName = ResolveDictionaryName(options.Operands[1]);
  const std::string* reading = &oldName;
  try {
    TSvExportSource oldDictionary(oldName);
    DiffSourceColumn(oldDictionary, source);
    reading = &newName;
    TSvExportSource newDictionary(newName);
    DiffSourceColumn(newDictionary, source);
    reading = &oldName;
    TOutputSink sink;
    TSvExportBuffer out(sink);
    std::unique_ptr<TSvDiffVisitor> writer;
    if (json)
      writer = std::make_unique<TJsonWriter>(out, oldName, newName);
    else
      writer = std::make_unique<TTextWriter>(out, oldName, newName);
    TTracker tracker(*writer, reading, newName);
    const bool same = DiffDictionaries(oldDictionary, newDictionary, source, tracker);
    out.Flush();
    return same ? kDiffSame : kDiffDifferent;
  } catch (const TOutputSink::EFailed& e) {
    SvqMessage(e.what());
    return kDiffTrouble;
  } catch (const std::exception& e) {
    const std::string message = e.what();
    // The reader names the file in some of its messages already.
    SvqMessage(message.find(*reading) != std::string::npos ? message : *reading + ": " + message);
    return kDiffTrouble;
  }
}

} // namespace sv
