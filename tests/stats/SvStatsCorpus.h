// A generated corpus of dictionaries for the stats tests, and what they hold counted
// straight from the texts given to the writer, with ICU's own iterator.
#pragma once

#include "tests/support/SvqTestWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sv::test {

struct TExpectedLanguage {
  std::string Name;
  std::uint64_t Total = 0, Translated = 0, Same = 0, Words = 0, TranslatedWords = 0;
};

struct TCorpusFile {
  std::string Path; // as svq stats names it when given the corpus folder
  TSvqTestFile File;
  bool Broken = false;
};

// count dictionaries of every version, byte order, character set and context kind
// under folder (some in subfolders), plus a truncated one, a file that is no
// dictionary by its name, and symbolic links that are to be skipped.
std::vector<TCorpusFile> MakeCorpus(const std::string& folder, unsigned seed, int count);

// The figures of every language but sourceColumn, in column order.
std::vector<TExpectedLanguage> ExpectedStats(const TSvqTestFile& file, std::size_t sourceColumn);

} // namespace sv::test
