// A generated corpus of dictionaries for the stats tests, and what they hold counted
// straight from the texts given to the writer, with ICU's own iterator.
#pragma once

#include "tests/support/SvqTestWriter.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace sv::test {

struct TCorpusFile {
  std::string Path; // as svq stats names it when given the corpus folder
  TSvqTestFile File;
  bool Broken = false;
};

// count dictionaries of every version, byte order, character set and context kind
// under folder and its subfolders, a truncated one, and a file and links to skip.
std::vector<TCorpusFile> MakeCorpus(const std::string& folder, unsigned seed, int count);

// The JSON stats objects, without "code", of every language but sourceColumn.
nlohmann::json ExpectedStats(const TSvqTestFile& file, std::size_t sourceColumn);

// translated / total in percent, cut to one decimal.
double Percent(std::uint64_t translated, std::uint64_t total);

} // namespace sv::test
