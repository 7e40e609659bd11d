// svq export: a dictionary written to TMX, XLIFF 1.2 and 2.0, PO, CSV or JSON.
#include "cli/SvqCli.h"
#include "cli/SvqCommands.h"
#include "export/SvCsvWriter.h"
#include "export/SvExportSink.h"
#include "export/SvExportSource.h"
#include "export/SvJsonWriter.h"
#include "export/SvPoWriter.h"
#include "export/SvTmxWriter.h"
#include "export/SvXliff2Writer.h"
#include "export/SvXliffWriter.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <string_view>
#include <sys/stat.h>

namespace sv {

namespace {

const TSvqOption kExportOptions[] = {
    {'f', "format", true}, {'s', "source", true}, {'l', "target", true}, {'o', "output", true}};

enum class TFormat { Tmx, Xliff, Xliff2, Po, Csv, Json };

struct TFormatName {
  const char* Name;
  TFormat Format;
};

const TFormatName kFormats[] = {{"tmx", TFormat::Tmx}, {"xliff", TFormat::Xliff}, {"xliff2", TFormat::Xliff2},
                                {"po", TFormat::Po},   {"csv", TFormat::Csv},     {"json", TFormat::Json}};

// A fault of the output, told apart from the dictionary's: its message names the
// output itself.
class EOutputFault : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Hands the bytes on and marks the faults of writing as the output's.
class TOutputSink : public TSvExportSink {
public:
  explicit TOutputSink(TSvExportSink& sink) : FSink(sink) {}
  void Write(std::string_view bytes) override {
    try {
      FSink.Write(bytes);
    } catch (const std::exception& fault) {
      throw EOutputFault(fault.what());
    }
  }

private:
  TSvExportSink& FSink;
};

void ShowHelp() {
  std::fputs(SvTr("Usage: svq export -f FORMAT [-s CODE] [-l CODE] [-o PATH] FILE\n"
                  "Writes the texts of an SVQ dictionary in an open format.\n"
                  "\n"
                  "  -f, --format=FORMAT  tmx, xliff, xliff2, po, csv or json\n"
                  "  -s, --source=CODE    the source language (default: the first language)\n"
                  "  -l, --target=CODE    one target language (default: every language but\n"
                  "                       the source)\n"
                  "  -o, --output=PATH    the file to write (default: standard output); for po\n"
                  "                       and xliff2 with several targets, a folder (made if\n"
                  "                       missing) that gets NAME.TAG.po or NAME.TAG.xlf per\n"
                  "                       target and NAME.pot\n"
                  "  -h, --help           display this help and exit\n"
                  "\n"
                  "CODE is a language code such as de-DE or the dictionary's id such as de_DE,\n"
                  "in any case.\n"),
             stdout);
}

std::string CodeList(const TSvExportSource& source) {
  std::string list;
  for (const TSvExportLanguage& language : source.Languages()) {
    if (!list.empty())
      list += ", ";
    list += language.Code;
  }
  return list;
}

int LanguageOption(const TSvExportSource& source, const std::string* code) {
  if (!code)
    return -1;
  const int column = source.FindLanguage(*code);
  if (column < 0) {
    if (source.Languages().empty())
      throw ESvqUsage("export", SvFormat(SvTr("unknown language '%s': the dictionary has no language"), {*code}));
    throw ESvqUsage("export", SvFormat(SvTr("unknown language '%s'; the dictionary's codes are: %s"),
                                       {*code, CodeList(source)}));
  }
  return column;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Writes one document to the file path (complete or not at all) or standard output.
template <typename TWrite>
void WriteDocument(const std::string* path, TWrite write) {
  if (!path) {
    TSvDescriptorSink out(1, SvTr("standard output"));
    TOutputSink sink(out);
    write(sink);
    return;
  }
  std::unique_ptr<TSvAtomicFileSink> file;
  try {
    file = std::make_unique<TSvAtomicFileSink>(*path);
  } catch (const std::exception& fault) {
    throw EOutputFault(fault.what());
  }
  TOutputSink sink(*file);
  write(sink);
  try {
    file->Commit();
  } catch (const std::exception& fault) {
    throw EOutputFault(fault.what());
  }
}

std::string PlaceName(const TSvExportSource& source, int row, int column) {
  if (row < 0)
    return SvTr("language names and information block");
  std::string where = SvFormat(SvTr("row %d"), {row});
  if (column < 0)
    where += SvTr(", context");
  else
    where += ", " + source.Languages()[column].Code;
  return where;
}

// The characters replaced by U+FFFD: how many, then where (the first places).
void ReportReplacements(const TSvExportSource& source, const TSvReplacements& replacements) {
  if (replacements.Empty())
    return;
  SvqMessage(SvFormat(SvTr("characters that the format cannot carry, replaced by U+FFFD: %d"),
                      {static_cast<long long>(replacements.Total())}));
  constexpr std::size_t kShown = 20;
  std::size_t shown = 0;
  for (const auto& [where, count] : replacements.Counts()) {
    if (shown++ == kShown) {
      SvqMessage(SvFormat(SvTr("  places not listed: %d"),
                          {static_cast<long long>(replacements.Counts().size() - kShown)}));
      break;
    }
    SvqMessage(SvFormat("  %s: %d", {PlaceName(source, where.first, where.second), static_cast<long long>(count)}));
  }
}

void ReportPo(const std::string& document, const TSvPoCounts& counts) {
  if (counts.EmptySources > 0)
    SvqMessage(SvFormat(SvTr("%s: rows left out for an empty source: %d"), {document, counts.EmptySources}));
  if (counts.Fuzzy > 0)
    SvqMessage(SvFormat(SvTr("%s: entries marked fuzzy as the translation's leading or trailing line "
                             "break differs from the source's: %d"),
                        {document, counts.Fuzzy}));
}

int Export(const TSvqParsedOptions& parsed, TFormat format, const std::string& fileName) {
  TSvExportSource source(fileName);
  TSvExportOptions options;
  options.ToolVersion = SV_VERSION;
  const int from = LanguageOption(source, parsed.Last('s'));
  options.Source = from < 0 ? 0 : from;
  options.Target = LanguageOption(source, parsed.Last('l'));
  if (options.Target >= 0 && options.Target == ExportSourceColumn(source, options))
    throw ESvqUsage("export", SvFormat(SvTr("the target language '%s' is the source language"),
                                       {source.Languages()[options.Target].Code}));
  const std::string* output = parsed.Last('o');
  const std::vector<int> targets = ExportTargets(source, options);
  const bool perTarget = format == TFormat::Po || format == TFormat::Xliff2;

  // A folder: needed for several targets, or named (existing, or ending in "/").
  if (perTarget && (targets.size() > 1 || (output && (IsFolder(*output) || output->ends_with('/'))))) {
    if (!output)
      throw ESvqUsage("export", SvTr("several target languages need a folder: -o DIR"));
    try {
      MakeFolders(*output);
    } catch (const std::exception& fault) {
      throw EOutputFault(fault.what());
    }
    const std::string base = *output + (output->ends_with('/') ? "" : "/") + source.BaseName();
    // Without a target, an XLIFF 2.0 document of the source alone.
    if (format == TFormat::Xliff2 && targets.empty()) {
      const std::string path = base + ".xlf";
      WriteDocument(&path, [&](TSvExportSink& sink) { WriteXliff2(source, options, sink); });
    }
    if (format == TFormat::Po) {
      const std::string potPath = base + ".pot";
      WriteDocument(&potPath, [&](TSvExportSink& sink) { ReportPo(potPath, WritePot(source, options, sink)); });
    }
    for (int target : targets) {
      TSvExportOptions one = options;
      one.Target = target;
      const std::string& code = source.Languages()[target].Code;
      const std::string path = base + "." + code + (format == TFormat::Po ? ".po" : ".xlf");
      WriteDocument(&path, [&](TSvExportSink& sink) {
        if (format == TFormat::Po) {
          // The rows left out are told once, for the template.
          TSvPoCounts counts = WritePo(source, one, sink);
          counts.EmptySources = 0;
          ReportPo(path, counts);
        }
        else
          WriteXliff2(source, one, sink);
      });
    }
  } else {
    WriteDocument(output, [&](TSvExportSink& sink) {
      const std::string name = output ? *output : SvTr("standard output");
      switch (format) {
      case TFormat::Tmx: WriteTmx(source, options, sink); break;
      case TFormat::Xliff: WriteXliff(source, options, sink); break;
      case TFormat::Xliff2: WriteXliff2(source, options, sink); break;
      case TFormat::Csv: WriteCsv(source, options, sink); break;
      case TFormat::Json: WriteJson(source, options, sink); break;
      case TFormat::Po:
        if (targets.empty()) {
          ReportPo(name, WritePot(source, options, sink));
        } else {
          options.Target = targets[0];
          ReportPo(name, WritePo(source, options, sink));
        }
        break;
      }
    });
  }
  ReportReplacements(source, source.Replacements());
  return kSvqOk;
}

} // namespace

int RunSvqExport(const std::vector<std::string>& args) {
  const TSvqParsedOptions parsed = ParseSvqOptions("export", args, kExportOptions);
  if (parsed.Help) {
    ShowHelp();
    return kSvqOk;
  }
  const std::string* formatName = parsed.Last('f');
  if (!formatName)
    throw ESvqUsage("export", SvTr("missing format: -f tmx, xliff, xliff2, po, csv or json"));
  const TFormatName* format = nullptr;
  for (const TFormatName& known : kFormats)
    if (*formatName == known.Name)
      format = &known;
  if (!format)
    throw ESvqUsage("export", SvFormat(SvTr("unknown format '%s': use tmx, xliff, xliff2, po, csv or json"),
                                       {*formatName}));
  if (parsed.Operands.empty())
    throw ESvqUsage("export", SvTr("missing dictionary file"));
  if (parsed.Operands.size() > 1)
    throw ESvqUsage("export", SvFormat(SvTr("extra operand '%s'"), {parsed.Operands[1]}));
  const std::string fileName = ResolveDictionaryName(parsed.Operands[0]);
  try {
    return Export(parsed, format->Format, fileName);
  } catch (const ESvqUsage&) {
    throw;
  } catch (const EOutputFault& fault) {
    SvqMessage(fault.what());
    return kSvqFailure;
  } catch (const std::exception& fault) {
    SvqMessage(fileName + ": " + fault.what());
    return kSvqFailure;
  }
}

} // namespace sv
