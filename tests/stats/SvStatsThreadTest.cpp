// Several workers read dictionaries at once, sharing the modules started once: they
// get what one reader gets alone. build.sh runs this under ThreadSanitizer too.
#include "export/SvExportSink.h"
#include "stats/SvStatsReport.h"
#include "tests/stats/SvStatsCorpus.h"
#include "tests/support/SvProcess.h"

#include <gtest/gtest.h>

namespace sv::test {
namespace {

std::string Json(const std::vector<TSvDictionaryStats>& dictionaries) {
  TSvStringSink sink;
  TSvExportBuffer buffer(sink);
  WriteStatsReport(dictionaries, SumByCode(dictionaries), {TSvStatsFormat::Json}, buffer);
  return sink.Text;
}

TEST(SvStatsThreads, WorkersGetWhatOneReaderGets) {
  TSvTempDir temp;
  std::vector<std::string> files;
  for (const TCorpusFile& entry : MakeCorpus(temp.File("corpus"), 3, 48))
    files.push_back(entry.Path);
  std::size_t lastDone = 0;
  const std::vector<TSvDictionaryStats> parallel =
      CountDictionaries(files, "", 4, [&](std::size_t done, std::size_t, const std::string&) {
        EXPECT_GE(done, lastDone);
        lastDone = done;
      });
  EXPECT_EQ(lastDone, files.size());
  std::vector<TSvDictionaryStats> alone;
  TSvWordCounter words;
  for (const std::string& file : files)
    alone.push_back(CountDictionary(file, "", words));
  EXPECT_EQ(Json(parallel), Json(alone));
}

} // namespace
} // namespace sv::test
