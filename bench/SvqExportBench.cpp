// Figures of "svq export" as whole processes on the 65535-row x 8-language bench
// dictionary: wall time of tmx, json and csv against "SvqPeek -t" in one paired
// hyperfine run, peak memory of every format at 65535 rows against 10 rows, and
// the peers on the same content (po2tmx on one pair, msgfmt on one catalog).
// sv_svq_export_bench [runs] [--keep]
#include "bench/SvBenchSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using sv::bench::TRun;

// Runs a program with standard output to /dev/null; the bench ends when it fails.
TRun Run(const std::vector<std::string>& args) {
  const TRun run = sv::bench::Run(args);
  if (run.ExitCode != 0) {
    std::fprintf(stderr, "%s failed with %d\n", args[0].c_str(), run.ExitCode);
    std::exit(1);
  }
  return run;
}

// A command line for hyperfine (the bench's paths hold no spaces), and the same
// quoted once for the shell.
std::string Command(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& a : args)
    line += (line.empty() ? "" : " ") + a;
  return line;
}
std::string Quoted(const std::string& command) {
  return "'" + command + "'";
}

struct TTimes {
  double Mean = 0, Deviation = 0, Cpu = 0; // Cpu: mean user and system time
};

// The times of each command of hyperfine's JSON export.
std::map<std::string, TTimes> ReadHyperfine(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  const std::string json = text.str();
  std::map<std::string, TTimes> means;
  std::size_t at = 0;
  while ((at = json.find("\"command\": \"", at)) != std::string::npos) {
    at += 12;
    const std::string command = json.substr(at, json.find('"', at) - at);
    const double mean = std::atof(json.c_str() + json.find("\"mean\":", at) + 7);
    const double sd = std::atof(json.c_str() + json.find("\"stddev\":", at) + 9);
    const double user = std::atof(json.c_str() + json.find("\"user\":", at) + 7);
    const double system = std::atof(json.c_str() + json.find("\"system\":", at) + 9);
    means[command] = {mean, sd, user + system};
  }
  return means;
}

} // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10;
  const bool keep = argc > 2 && std::string(argv[2]) == "--keep";
  const std::string peek = SVQPEEK_EXE, svq = SVQ_EXE;
  const auto dir = std::filesystem::temp_directory_path() / ("svqexportbench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string big = (dir / "big.svq").string(), small = (dir / "small.svq").string();
  const int kRows = 65535, kLanguages = 8;
  // Written by a child, so that the runs do not start from the memory of the texts.
  const pid_t writer = ::fork();
  if (writer == 0) {
    const auto texts = sv::bench::BenchTexts(static_cast<std::size_t>(kRows) * kLanguages);
    sv::bench::BenchDictionary(kLanguages, kRows, texts).Save(big);
    sv::bench::BenchDictionary(kLanguages, 10, texts).Save(small);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(writer, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return 1;

  // One paired hyperfine run: the commands alternate under the same load.
  const std::string peekCommand = Command({peek, "-t", big});
  const std::vector<std::pair<std::string, double>> formats = {{"tmx", 1.5}, {"json", 1.2}, {"csv", 1.2}};
  std::string hyperfine = "hyperfine -N --style none --warmup 1 --runs " + std::to_string(runs) +
                          " --export-json " + (dir / "times.json").string() + " " + Quoted(peekCommand);
  for (const auto& [format, goal] : formats)
    hyperfine += " " + Quoted(Command({svq, "export", "-f", format, big}));
  hyperfine += " >/dev/null";
  if (std::system(hyperfine.c_str()) != 0) {
    std::fprintf(stderr, "hyperfine failed\n");
    return 1;
  }
  const auto times = ReadHyperfine((dir / "times.json").string());
  const TTimes peekTimes = times.at(peekCommand);
  std::printf("%d rows x %d languages, mean of %d paired runs: SvqPeek -t %.3f s (sd %.3f), cpu %.3f s\n",
              kRows, kLanguages, runs, peekTimes.Mean, peekTimes.Deviation, peekTimes.Cpu);
  for (const auto& [format, goal] : formats) {
    const TTimes t = times.at(Command({svq, "export", "-f", format, big}));
    std::printf("  svq export -f %-6s %.3f s (sd %.3f), ratio %.2f (goal <= %.1f); cpu %.3f s, ratio %.2f\n",
                format.c_str(), t.Mean, t.Deviation, t.Mean / peekTimes.Mean, goal, t.Cpu,
                t.Cpu / peekTimes.Cpu);
  }

  std::printf("peak memory, 65535 rows against 10 rows (goal: within 4096 KiB but po):\n");
  for (const char* format : {"tmx", "xliff", "xliff2", "po", "csv", "json"}) {
    const bool perTarget = std::string(format) == "po" || std::string(format) == "xliff2";
    std::vector<std::string> bigArgs = {svq, "export", "-f", format, big};
    std::vector<std::string> smallArgs = {svq, "export", "-f", format, small};
    if (perTarget) {
      bigArgs.insert(bigArgs.end() - 1, {"-l", "de-DE"});
      smallArgs.insert(smallArgs.end() - 1, {"-l", "de-DE"});
    }
    const TRun b = Run(bigArgs), s = Run(smallArgs);
    std::printf("  %-6s %ld KiB and %ld KiB, difference %ld KiB\n", format, b.PeakKiB, s.PeakKiB,
                b.PeakKiB - s.PeakKiB);
  }

  // The peers on the same content: one PO catalog (en-US to de-DE).
  const std::string po = (dir / "pair.po").string(), mo = (dir / "pair.mo").string();
  Run({svq, "export", "-f", "po", "-l", "de-DE", "-o", po, big});
  const std::string peerTimes = (dir / "peers.json").string();
  const std::string tmxAll = Command({svq, "export", "-f", "tmx", big});
  const std::string poExport = Command({svq, "export", "-f", "po", "-l", "de-DE", big});
  const std::string msgfmt = Command({"msgfmt", "-o", mo, po});
  const std::string po2tmx =
      Command({"/usr/bin/python3", "-m", "translate.convert.po2tmx", "-l", "de-DE", po, (dir / "pair.tmx").string()});
  const bool havePo2tmx = std::system("/usr/bin/python3 -c 'import translate.convert.po2tmx' 2>/dev/null") == 0;
  std::string peers = "hyperfine -N --style none --warmup 1 --runs " + std::to_string(std::max(2, runs / 3)) +
                      " --export-json " + peerTimes + " " + Quoted(tmxAll) + " " + Quoted(poExport) + " " +
                      Quoted(msgfmt);
  if (havePo2tmx)
    peers += " " + Quoted(po2tmx);
  if (std::system((peers + " >/dev/null").c_str()) != 0) {
    std::fprintf(stderr, "hyperfine failed\n");
    return 1;
  }
  const auto peerMeans = ReadHyperfine(peerTimes);
  const double tmx = peerMeans.at(tmxAll).Mean, poTime = peerMeans.at(poExport).Mean;
  std::printf("peers: svq export -f tmx (8 languages) %.3f s", tmx);
  if (havePo2tmx)
    std::printf(", po2tmx of one pair %.3f s, %.1fx", peerMeans.at(po2tmx).Mean,
                peerMeans.at(po2tmx).Mean / tmx);
  else
    std::printf(", po2tmx not installed");
  std::printf("; svq export -f po (one pair) %.3f s, msgfmt of it %.3f s, ratio %.2f\n", poTime,
              peerMeans.at(msgfmt).Mean, peerMeans.at(msgfmt).Mean / poTime);
  if (keep)
    std::printf("files in %s\n", dir.c_str());
  else
    std::filesystem::remove_all(dir);
  return 0;
}
