// Appends to a fresh string list, as the report does for the texts of one row:
// one append per language, up to 65,536 languages.
#include "core/SvCollec.h"

#include <benchmark/benchmark.h>

namespace {

void BM_WideStringListAppend(benchmark::State& state) {
  const std::u16string text = u"Abcdefgh"; // eight units
  for (auto _ : state) {
    sv::TSvWideStringList list;
    for (std::int64_t i = 0; i < state.range(0); ++i)
      list.Add(text);
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WideStringListAppend)->Arg(256)->Arg(4096)->Arg(65536)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
