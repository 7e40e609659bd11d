// svq stats: how far each translation of the dictionaries is, read by several
// workers, written in the order of the file names whatever their number.
#include "cli/SvqCli.h"
#include "cli/SvqCommands.h"
#include "export/SvExportSink.h"
#include "stats/SvStats.h"
#include "stats/SvStatsReport.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace sv {

namespace {

constexpr TSvqOption kOptions[] = {
    {'f', "format", true}, {'s', "source", true}, {'j', "jobs", true}, {'o', "output", true}};

// Progress is shown for runs of more dictionaries than this.
constexpr std::size_t kProgressAbove = 8;

void ShowHelp() {
  std::fputs(SvTr("Usage: svq stats [OPTION]... PATH...\n"
                  "Shows how far each translation of the dictionaries is: per language the rows\n"
                  "with a source text, translated, untranslated and left as the source, and\n"
                  "their words. A PATH that is a folder is searched for *.svq files.\n"
                  "\n"
                  "  -f, --format=FORMAT  text (default), json, csv or html\n"
                  "  -s, --source=CODE    the source language (default: the first one)\n"
                  "  -j, --jobs=N         read N dictionaries at a time (default: the number\n"
                  "                       of processors)\n"
                  "  -o, --output=FILE    write to FILE instead of standard output\n"
                  "  -h, --help           display this help and exit\n"
                  "\n"
                  "Exit status is 0 when every dictionary was read, 1 when one could not be\n"
                  "read, 2 for a fault of the command line.\n"),
             stdout);
}

bool EndsWithSvq(const std::string& name) {
  if (name.size() < 4)
    return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return tail == ".svq";
}

// The dictionaries below folder, symbolic links skipped; a folder that cannot be
// walked is reported as a broken entry.
void FindDictionaries(const std::string& folder, std::vector<std::string>& files,
                      std::vector<TSvDictionaryStats>& faults) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::recursive_directory_iterator it(folder, fs::directory_options::none, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code ignored;
    if (it->is_symlink(ignored)) {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file(ignored) && EndsWithSvq(it->path().filename().string()))
      files.push_back(it->path().string());
  }
  if (error) {
    TSvDictionaryStats& fault = faults.emplace_back();
    fault.File = folder;
    fault.Broken = true;
    fault.Error = error.message();
  }
}

unsigned JobsOf(const std::string* value) {
  if (!value) {
    const unsigned processors = std::thread::hardware_concurrency();
    return processors == 0 ? 1 : processors;
  }
  unsigned jobs = 0;
  const char* end = value->data() + value->size();
  const auto [stop, fault] = std::from_chars(value->data(), end, jobs);
  if (fault != std::errc() || stop != end || jobs == 0 || jobs > 4096)
    throw ESvqUsage("stats", SvFormat(SvTr("invalid number of jobs '%s'"), {*value}));
  return jobs;
}

bool NoColour() {
  const char* value = std::getenv("NO_COLOR");
  return value && *value;
}

} // namespace

int RunSvqStats(const std::vector<std::string>& args) {
  const TSvqParsedOptions parsed = ParseSvqOptions("stats", args, kOptions);
  if (parsed.Help) {
    ShowHelp();
    return kSvqOk;
  }
  TSvStatsReportOptions options;
  if (const std::string* format = parsed.Last('f'); format && !StatsFormatOf(*format, options.Format))
    throw ESvqUsage("stats", SvFormat(SvTr("invalid format '%s'"), {*format}));
  const std::string* sourceCode = parsed.Last('s');
  const unsigned jobs = JobsOf(parsed.Last('j'));
  const std::string* output = parsed.Last('o');
  if (parsed.Operands.empty())
    throw ESvqUsage("stats", SvTr("missing dictionary or folder"));

  std::vector<std::string> files;
  std::vector<TSvDictionaryStats> faults;
  for (const std::string& operand : parsed.Operands) {
    std::error_code error;
    if (std::filesystem::is_directory(operand, error))
      FindDictionaries(operand, files, faults);
    else
      files.push_back(operand);
  }
  std::sort(files.begin(), files.end());
  TSvStatsProgress progress;
  if (IsTerminal(2) && files.size() > kProgressAbove)
    progress = [](std::size_t done, std::size_t total, const std::string& file) {
      std::string name = file.size() > 50 ? "..." + file.substr(file.size() - 47) : file;
      const std::string line =
          "\r\x1b[K" + std::to_string(done) + "/" + std::to_string(total) + " " + name;
      std::fputs(line.c_str(), stderr);
    };
  std::vector<TSvDictionaryStats> dictionaries =
      CountDictionaries(files, sourceCode ? *sourceCode : std::string(), jobs, progress);
  if (progress)
    std::fputs("\r\x1b[K", stderr);
  // The counted ones come in the order of files; folders that could not be walked
  // are sorted in among them.
  if (!faults.empty()) {
    for (TSvDictionaryStats& fault : faults)
      dictionaries.push_back(std::move(fault));
    std::stable_sort(dictionaries.begin(), dictionaries.end(),
                     [](const TSvDictionaryStats& a, const TSvDictionaryStats& b) { return a.File < b.File; });
  }

  bool broken = false;
  for (const TSvDictionaryStats& d : dictionaries)
    if (d.Broken) {
      SvqMessage(d.File + ": " + d.Error);
      broken = true;
    }

  const std::vector<TSvLanguageStats> totals = SumByCode(dictionaries);
  const bool terminal = !output && IsTerminal(1);
  options.Bars = terminal;
  options.Colours = terminal && !NoColour();
  if (output) {
    TSvAtomicFileSink sink(*output);
    TSvExportBuffer buffer(sink);
    WriteStatsReport(dictionaries, totals, options, buffer);
    sink.Commit();
  } else {
    TSvDescriptorSink sink(1, SvTr("standard output"));
    TSvExportBuffer buffer(sink);
    WriteStatsReport(dictionaries, totals, options, buffer);
  }
  return broken ? kSvqFailure : kSvqOk;
}

} // namespace sv
