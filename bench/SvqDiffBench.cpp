// "svq diff" of two 65535-row x 8-language dictionaries against "SvqPeek -t" on
// both (goal: at most 2x), timed as whole processes by hyperfine, and the peak
// memory of the diff: it holds the old dictionary and streams the new one, so a
// small old dictionary against the big one must stay small.
// sv_svq_diff_bench [runs] [--keep]: --keep leaves the files for a profiler.
#include "bench/SvBenchSupport.h"
#include "tests/support/SvqTestWriter.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using sv::test::TSvqTestFile;

namespace {

// The peak memory of a run in KiB, standard output to /dev/null.
long PeakKiB(const std::vector<std::string>& args) {
  return sv::bench::Run(args).PeakKiB;
}

// Rows of 8 languages: texts of 1 to 79 units, a third of them non-ASCII; the
// component names repeat, so that many keys do.
TSvqTestFile Dictionary(int rows, std::mt19937& random) {
  const std::u16string pool[] = {u"The quick brown fox jumps over the lazy dog, &File Open Save As... %d",
                                 u"\u00E9\u00E8\u00E0\u00FC\u00F6\u00DF\u00F1\u00E7 \u00C4nderung",
                                 u"\u0424\u0430\u0439\u043B \u041E\u0442\u043A\u0440\u044B\u0442\u044C",
                                 u"\u30D5\u30A1\u30A4\u30EB\u958B\u304F\u4FDD\u5B58\u65E5\u672C"};
  TSvqTestFile file;
  file.ContextKind = 1;
  const char* codes[] = {"en", "de", "fr", "es", "it", "ru", "ja", "ar"};
  const char* countries[] = {"US", "DE", "FR", "ES", "IT", "RU", "JP", "SA"};
  const std::uint16_t ids[] = {9, 7, 12, 10, 16, 25, 17, 1};
  for (int i = 0; i < 8; ++i) {
    auto& language = file.Languages.emplace_back();
    language.Primary = ids[i];
    language.LanguageCode = codes[i];
    language.CountryCode = countries[i];
  }
  for (int r = 0; r < rows; ++r) {
    sv::test::TSvqTestRow row;
    for (int c = 0; c < 8; ++c) {
      const std::u16string& source = pool[random() % 3 == 0 ? 1 + random() % 3 : 0];
      const std::size_t start = random() % source.size();
      row.Texts.push_back((source.substr(start) + source).substr(0, 1 + random() % 79));
    }
    row.FormType = u"TMainForm";
    row.ComponentName = u"Item" + std::u16string(1, static_cast<char16_t>(u'A' + r % 26));
    file.Rows.push_back(std::move(row));
  }
  return file;
}

struct TTimes {
  double Wall = 0;
  double Cpu = 0; // user and system: steadier than the wall time on a busy machine
};

// The mean times of each command, from hyperfine's JSON.
std::vector<TTimes> Hyperfine(const std::vector<std::string>& commands, int runs, const std::string& json) {
  std::string line = "hyperfine -N -i -w 1 -r " + std::to_string(runs) + " --export-json " + json;
  for (const std::string& command : commands)
    line += " '" + command + "'";
  line += " >&2";
  if (std::system(line.c_str()) != 0) {
    std::fprintf(stderr, "hyperfine failed\n");
    std::exit(1);
  }
  const auto results = nlohmann::json::parse(std::ifstream(json))["results"];
  std::vector<TTimes> means;
  for (const auto& result : results)
    means.push_back({result["mean"].get<double>(), result["user"].get<double>() + result["system"].get<double>()});
  return means;
}

} // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const bool keep = argc > 2 && std::string(argv[2]) == "--keep";
  const auto dir = std::filesystem::temp_directory_path() / ("svqdiffbench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string oldName = (dir / "old.svq").string(), newName = (dir / "new.svq").string();
  const std::string allName = (dir / "all.svq").string(), smallName = (dir / "small.svq").string();
  const std::string json = (dir / "hyperfine.json").string();
  const int kRows = 65535;
  // Written by a child: a forked child's peak memory would count the parent's pages.
  const pid_t writer = ::fork();
  if (writer == 0) {
    std::mt19937 random(1);
    TSvqTestFile old = Dictionary(kRows, random);
    old.Save(oldName);
    Dictionary(10, random).Save(smallName);
    // 1% of the rows changed in two languages, 500 removed and 500 added.
    TSvqTestFile next = old;
    for (int r = 0; r < kRows; r += 100)
      next.Rows[r].Texts[2] += u"!", next.Rows[r].Texts[5] += u"?";
    next.Rows.erase(next.Rows.begin() + 1000, next.Rows.begin() + 1500);
    TSvqTestFile extra = Dictionary(500, random);
    next.Rows.insert(next.Rows.begin() + 30000, extra.Rows.begin(), extra.Rows.end());
    next.Save(newName);
    // Every translation changed: the output is as long as the report of -t.
    for (auto& row : old.Rows)
      for (std::size_t c = 1; c < row.Texts.size(); ++c)
        row.Texts[c] += u"*";
    old.Save(allName);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(writer, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return 1;
  if (keep)
    std::printf("files in %s\n", dir.c_str());

  const std::string svq = SVQ_EXE, peek = SVQPEEK_EXE;
  const std::string peekBoth = "sh -c \"" + peek + " -t " + oldName + " >/dev/null; " + peek + " -t " +
                               newName + " >/dev/null\"";
  const std::vector<TTimes> means = Hyperfine(
      {peekBoth, svq + " diff -f json " + oldName + " " + newName, svq + " diff " + oldName + " " + newName,
       svq + " diff -f json " + oldName + " " + allName},
      runs, json);
  for (const bool cpu : {false, true}) {
    const auto t = [&](int i) { return cpu ? means[i].Cpu : means[i].Wall; };
    std::printf("%s: svq diff, %d rows x 8 languages, 1%% changed: json %.3f s, text %.3f s; "
                "SvqPeek -t on both %.3f s; ratios %.2f and %.2f (goal <= 2.0); every translation "
                "changed, json: %.3f s, ratio %.2f\n",
                cpu ? "cpu" : "wall", kRows, t(1), t(2), t(0), t(1) / t(0), t(2) / t(0), t(3), t(3) / t(0));
  }
  const long big = PeakKiB({svq, "diff", "-f", "json", oldName, newName});
  const long smallOld = PeakKiB({svq, "diff", "-f", "json", smallName, newName});
  const long smallNew = PeakKiB({svq, "diff", "-f", "json", oldName, smallName});
  const long peekPeak = PeakKiB({peek, "-t", oldName});
  std::printf("peak memory: diff big/big %ld KiB, small old/big new %ld KiB, big old/small new "
              "%ld KiB; SvqPeek -t %ld KiB; file %ld KiB\n",
              big, smallOld, smallNew, peekPeak,
              static_cast<long>(std::filesystem::file_size(oldName) / 1024));
  if (!keep)
    std::filesystem::remove_all(dir);
  return 0;
}
