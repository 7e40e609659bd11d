// Speed of decoding language records into one project language, as the SVQ reader
// does for each record of a dictionary.
#include "app/SvModules.h"
#include "language/SvLanguage.h"
#include "locale/SvLocaleTables.h"
#include "tests/language/SvLanguageRecord.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace sv;
using sv::test::TLanguageRecord;

namespace {

// A record per row of the locale table, in the row's code page, with or without names.
std::vector<TLanguageRecord> TableRecords(bool withNames) {
  std::vector<TLanguageRecord> records;
  for (const TSvLocaleData& row : LocaleTable()) {
    if (row.Language[0] == '\0')
      continue;
    TLanguageRecord record;
    record.LanguageId = row.PrimaryLanguage;
    record.LanguageCode = row.Language;
    record.SublanguageId = row.SubLanguage;
    record.CountryCode = row.Country;
    record.CodePage = CodePageOfName(EncodingGroupTable()[row.Encodings][ekWindows]);
    if (withNames) {
      record.Name = u"Stored name";
      record.NativeName = u"Stored native name";
    }
    records.push_back(record);
  }
  return records;
}

// Identifiers that no row holds, with empty, unknown and numeric codes.
std::vector<TLanguageRecord> UnknownRecords() {
  std::vector<TLanguageRecord> records;
  for (int id = 200; id < 264; ++id) {
    const int kind = id % 4;
    TLanguageRecord record;
    record.LanguageId = id;
    record.LanguageCode = kind == 0 ? "" : (kind == 1 ? "qq" : std::to_string(id));
    record.SublanguageId = id % 7;
    record.CountryCode = kind == 3 ? "ZZ" : "";
    record.CodePage = 1252;
    records.push_back(record);
  }
  return records;
}

void Decode(benchmark::State& state, const std::vector<TLanguageRecord>& records) {
  TSvProjectLanguage language;
  for (auto _ : state) {
    for (const TLanguageRecord& record : records)
      sv::test::DecodeRecord(language, record);
    benchmark::DoNotOptimize(language.Name.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(records.size()));
}

void DecodeTableRows(benchmark::State& state) {
  Decode(state, TableRecords(state.range(0) != 0));
}
BENCHMARK(DecodeTableRows)->Arg(0)->Arg(1)->ArgName("names");

void DecodeUnknownIdentifiers(benchmark::State& state) {
  Decode(state, UnknownRecords());
}
BENCHMARK(DecodeUnknownIdentifiers);

// Creating a project language looks at no installed font.
void CreateProjectLanguage(benchmark::State& state) {
  for (auto _ : state) {
    TSvProjectLanguage language;
    benchmark::DoNotOptimize(&language);
  }
}
BENCHMARK(CreateProjectLanguage);

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  sv::TSvModules modules;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
