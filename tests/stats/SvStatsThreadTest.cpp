// Several workers read dictionaries at once, sharing the modules started once: they
// get what one reader gets alone. build.sh runs this under ThreadSanitizer too.
#include "stats/SvStats.h"
#include "tests/stats/SvStatsCorpus.h"
#include "tests/support/SvProcess.h"

#include <gtest/gtest.h>

namespace sv::test {
namespace {

TEST(SvStatsThreads, WorkersGetWhatOneReaderGets) {
  TSvTempDir temp;
  std::vector<std::string> files;
  for (const TCorpusFile& entry : MakeCorpus(temp.File("corpus"), 3, 48))
    files.push_back(entry.Path);
  std::size_t calls = 0, lastDone = 0;
  const std::vector<TSvDictionaryStats> parallel =
      CountDictionaries(files, "", 4, [&](std::size_t done, std::size_t total, const std::string&) {
        ++calls;
        EXPECT_EQ(total, files.size());
        EXPECT_GE(done, lastDone);
        lastDone = done;
      });
  EXPECT_GT(calls, 0u);
  EXPECT_EQ(lastDone, files.size());
  ASSERT_EQ(parallel.size(), files.size());
  TSvWordCounter words;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const TSvDictionaryStats alone = CountDictionary(files[i], "", words);
    const TSvDictionaryStats& mine = parallel[i];
    SCOPED_TRACE(files[i]);
    EXPECT_EQ(mine.File, alone.File);
    EXPECT_EQ(mine.Error, alone.Error);
    EXPECT_EQ(mine.Source, alone.Source);
    ASSERT_EQ(mine.Stats.size(), alone.Stats.size());
    for (std::size_t k = 0; k < alone.Stats.size(); ++k) {
      const TSvLanguageStats &a = mine.Stats[k], &b = alone.Stats[k];
      EXPECT_EQ(std::tie(a.Code, a.Name, a.Total, a.Translated, a.SameAsSource, a.TotalWords, a.TranslatedWords),
                std::tie(b.Code, b.Name, b.Total, b.Translated, b.SameAsSource, b.TotalWords, b.TranslatedWords));
    }
  }
}

} // namespace
} // namespace sv::test
