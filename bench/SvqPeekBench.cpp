// End-to-end figures of the tool, whole processes: "SvqPeek -t" on a 65535-row,
// 8-language dictionary against iconv over the same texts, and the report of the
// sample against msgunfmt on a one-message catalog, each as one paired run (the two
// programs take turns, round by round, and the median of the rounds' ratios is the
// figure); peak memory against a 10-row file and against the anchors, the report
// without -t at both sizes, and dictionaries of 4000 and 65535 languages. It prints
// one line per figure.
#include "bench/SvBenchSupport.h"
#include "tests/support/SvqTestWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using sv::test::TSvqTestFile;

namespace {

using sv::bench::Run;
using sv::bench::TRun;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Two programs in turns, the first one first in even rounds, after a warm-up run of
// each: medians of wall and processor time, the median ratios of the rounds, the
// larger peak memory of each.
struct TPaired {
  double Seconds[2] = {};
  double CpuSeconds[2] = {};
  double Ratio = 0;
  double CpuRatio = 0;
  long PeakKiB[2] = {};
};

TPaired Paired(const std::vector<std::string>& a, const std::vector<std::string>& b, int rounds) {
  const std::vector<std::string>* args[2] = {&a, &b};
  std::vector<double> wall[2], cpu[2], ratio, cpuRatio;
  TPaired paired;
  for (int r = -1; r < rounds; ++r) {
    TRun runs[2];
    for (int k = 0; k < 2; ++k) {
      const int which = (r % 2 == 0) ? k : 1 - k;
      runs[which] = Run(*args[which]);
      if (runs[which].ExitCode != 0) {
        std::fprintf(stderr, "%s failed with %d\n", (*args[which])[0].c_str(),
                     runs[which].ExitCode);
        std::exit(1);
      }
    }
    if (r < 0)
      continue; // the warm-up
    for (int k = 0; k < 2; ++k) {
      wall[k].push_back(runs[k].Seconds);
      cpu[k].push_back(runs[k].CpuSeconds);
      paired.PeakKiB[k] = std::max(paired.PeakKiB[k], runs[k].PeakKiB);
    }
    ratio.push_back(runs[0].Seconds / runs[1].Seconds);
    // Processor time is counted in clock ticks; a round without one is left out.
    if (runs[1].CpuSeconds > 0)
      cpuRatio.push_back(runs[0].CpuSeconds / runs[1].CpuSeconds);
  }
  for (int k = 0; k < 2; ++k) {
    paired.Seconds[k] = Median(wall[k]);
    paired.CpuSeconds[k] = Median(cpu[k]);
  }
  paired.Ratio = Median(ratio);
  paired.CpuRatio = cpuRatio.empty() ? 0 : Median(cpuRatio);
  return paired;
}

// The best of several runs.
TRun Best(const std::vector<std::string>& args, int runs) {
  TRun best = Run(args);
  for (int i = 1; i < runs; ++i) {
    const TRun run = Run(args);
    if (run.ExitCode != best.ExitCode) {
      std::fprintf(stderr, "exit codes differ\n");
      std::exit(1);
    }
    if (run.Seconds < best.Seconds)
      best = run;
  }
  if (best.ExitCode != 0) {
    std::fprintf(stderr, "%s failed with %d\n", args[0].c_str(), best.ExitCode);
    std::exit(1);
  }
  return best;
}

using sv::bench::BenchDictionary;
using sv::bench::BenchTexts;


} // namespace

int main(int argc, char** argv) {
  // sv_svqpeek_bench [runs] [--keep]: --keep leaves the files for a profiler. The
  // paired runs take 31 rounds at least.
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int rounds = std::max(31, runs);
  const bool keep = argc > 2 && std::string(argv[2]) == "--keep";
  const std::string tool = SVQPEEK_EXE;
  const auto dir =
      std::filesystem::temp_directory_path() / ("svqbench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string big = (dir / "big.svq").string(), small = (dir / "small.svq").string();
  const std::string utf16 = (dir / "texts.utf16").string();

  const int kRows = 65535, kLanguages = 8;
  const std::string wide4000 = (dir / "wide4000.svq").string();
  const std::string wide65535 = (dir / "wide65535.svq").string();
  const std::string rows2 = (dir / "rows2.svq").string();
  // The files are written by a child, so that the runs do not start from the
  // memory of the texts (a forked child's peak memory counts its parent's pages).
  const pid_t writer = ::fork();
  if (writer == 0) {
    const std::vector<std::u16string> texts = BenchTexts(static_cast<std::size_t>(kRows) * kLanguages);
    BenchDictionary(kLanguages, kRows, texts).Save(big);
    BenchDictionary(kLanguages, 10, texts).Save(small);
    BenchDictionary(4000, 0, texts).Save(wide4000);
    BenchDictionary(65535, 0, texts).Save(wide65535);
    BenchDictionary(65535, 2, texts).Save(rows2);
    // The same texts, one per line, for iconv.
    std::u16string all;
    for (const std::u16string& text : texts)
      all += text + u"\n";
    std::ofstream(utf16, std::ios::binary)
        .write(reinterpret_cast<const char*>(all.data()),
               static_cast<std::streamsize>(all.size() * 2));
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(writer, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return 1;
  if (keep)
    std::printf("files in %s\n", dir.c_str());

  // A catalog of one message for msgunfmt.
  const std::string po = (dir / "one.po").string(), mo = (dir / "one.mo").string();
  std::ofstream(po) << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                       "msgid \"Open\"\nmsgstr \"Öffnen\"\n";
  if (Run({"msgfmt", "-o", mo, po}).ExitCode != 0) {
    std::fprintf(stderr, "msgfmt failed\n");
    return 1;
  }
  const TPaired start = Paired({tool, SV_SAMPLE}, {"msgunfmt", mo}, rounds);
  std::printf("start-up, %d rounds: SvqPeek on the sample %.1f ms, msgunfmt on one message "
              "%.1f ms, ratio %.2f (goal <= 1.0); cpu %.1f ms and %.1f ms, ratio %.2f; "
              "peak %ld KiB and %ld KiB\n",
              rounds, start.Seconds[0] * 1e3, start.Seconds[1] * 1e3, start.Ratio,
              start.CpuSeconds[0] * 1e3, start.CpuSeconds[1] * 1e3, start.CpuRatio,
              start.PeakKiB[0], start.PeakKiB[1]);

  const TPaired texts =
      Paired({tool, "-t", big}, {"iconv", "-f", "UTF-16LE", "-t", "UTF-8", utf16}, rounds);
  std::printf("-t, %d rows x %d languages, %d rounds: SvqPeek %.3f s, iconv %.3f s, ratio %.2f "
              "(goal <= 1.0, aim 0.5); cpu %.3f s and %.3f s, ratio %.2f; peak %ld KiB and "
              "%ld KiB\n",
              kRows, kLanguages, rounds, texts.Seconds[0], texts.Seconds[1], texts.Ratio,
              texts.CpuSeconds[0], texts.CpuSeconds[1], texts.CpuRatio, texts.PeakKiB[0],
              texts.PeakKiB[1]);
  const TRun peek = Best({tool, "-t", big}, runs);

  const TRun peekSmall = Best({tool, "-t", small}, runs);
  std::printf("peak memory -t: %ld KiB at %d rows, %ld KiB at 10 rows, ratio %.2f (limit 2.0)\n",
              peek.PeakKiB, kRows, peekSmall.PeakKiB,
              static_cast<double>(peek.PeakKiB) / static_cast<double>(peekSmall.PeakKiB));

  const TRun countBig = Best({tool, big}, runs);
  const TRun countSmall = Best({tool, small}, runs);
  std::printf("without -t: %.3f s at %d rows, %.3f s at 10 rows\n", countBig.Seconds, kRows,
              countSmall.Seconds);

  std::printf("4000 languages: %.3f s (limit 0.5)\n", Best({tool, wide4000}, runs).Seconds);
  std::printf("65535 languages: %.3f s (limit 2)\n", Best({tool, wide65535}, runs).Seconds);
  std::printf("-t, 2 rows x 65535 languages: %.3f s (limit 3)\n",
              Best({tool, "-t", rows2}, runs).Seconds);

  if (!keep)
    std::filesystem::remove_all(dir);
  return 0;
}
