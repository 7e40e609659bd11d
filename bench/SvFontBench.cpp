// The first listing of the installed fonts (all of /usr/share/fonts), with an empty
// fontconfig cache and with a warm one, and a listing from the cached family list.
#include "app/SvModules.h"
#include "graphics/SvFontConfig.h"
#include "graphics/SvGraphicsModules.h"
#include "graphics/TextRenderer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace sv;

namespace {

namespace fs = std::filesystem;

// A folder for the configurations and caches, removed at the end.
const fs::path& WorkFolder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "svfontbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
      std::abort();
    return fs::path(pattern);
  }();
  return folder;
}

// A configuration of the system's font folder with a cache folder of its own.
std::string WriteConfig(const std::string& name) {
  const fs::path file = WorkFolder() / (name + ".conf");
  std::ofstream(file) << "<?xml version=\"1.0\"?>\n<fontconfig>\n"
                      << "  <dir>/usr/share/fonts</dir>\n"
                      << "  <cachedir>" << (WorkFolder() / ("cache-" + name)).string()
                      << "</cachedir>\n</fontconfig>\n";
  return file.string();
}

TSvScriptSet Latin() {
  return TSvScriptSet().set(1);
}

void FirstGetFontsEmptyCache(benchmark::State& state) {
  int round = 0;
  TSvFontFaces faces;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string config = WriteConfig("cold" + std::to_string(round++));
    state.ResumeTiming();
    UseFontConfiguration(config);
    StandardTextRenderer()->GetFonts(faces, Latin());
  }
  state.counters["families"] = static_cast<double>(faces.size());
}
BENCHMARK(FirstGetFontsEmptyCache)->Unit(benchmark::kMillisecond)->Iterations(5);

void FirstGetFontsWarmCache(benchmark::State& state) {
  const std::string config = WriteConfig("warm");
  TSvFontFaces faces;
  UseFontConfiguration(config);
  StandardTextRenderer()->GetFonts(faces, Latin());
  for (auto _ : state) {
    UseFontConfiguration(config);
    StandardTextRenderer()->GetFonts(faces, Latin());
  }
  state.counters["families"] = static_cast<double>(faces.size());
}
BENCHMARK(FirstGetFontsWarmCache)->Unit(benchmark::kMillisecond);

// The system's own configuration with its rules, on the system's (warm) cache.
void FirstGetFontsSystemConfiguration(benchmark::State& state) {
  TSvFontFaces faces;
  for (auto _ : state) {
    UseFontConfiguration("/etc/fonts/fonts.conf");
    StandardTextRenderer()->GetFonts(faces, Latin());
  }
  state.counters["families"] = static_cast<double>(faces.size());
}
BENCHMARK(FirstGetFontsSystemConfiguration)->Unit(benchmark::kMillisecond);

void GetFontsFromTheCachedList(benchmark::State& state) {
  UseFontConfiguration(WriteConfig("warm"));
  TSvFontFaces faces;
  StandardTextRenderer()->GetFonts(faces, Latin());
  for (auto _ : state)
    StandardTextRenderer()->GetFonts(faces, Latin());
}
BENCHMARK(GetFontsFromTheCachedList)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  {
    sv::TSvModules modules(sv::GraphicsModuleSteps());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  }
  std::error_code ignored;
  fs::remove_all(WorkFolder(), ignored);
  return 0;
}
