// svq export as a process: usage faults, a broken dictionary that leaves nothing
// behind, a folder of catalogs, and the summary of replaced characters.
#include "tests/support/SvProcess.h"
#include "tests/support/SvqTestWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace sv::test;

namespace {

// Runs svq through the shell with standard error joined to standard output.
TSvProcessResult Svq(const std::string& arguments) {
  return RunProcess("/bin/sh", {"-c", "exec 2>&1; " + std::string(SVQ_EXE) + " " + arguments});
}

TEST(SvqExportCommand, FaultsOfTheCommandLineAndTheDictionaryLeaveNoOutput) {
  TSvTempDir folder;
  const std::string sample = std::string(SV_SOURCE_DIR) + "/examples/sample.svq";
  const TSvProcessResult code = Svq("export -f po -l fr " + sample);
  EXPECT_EQ(code.ExitCode, 2);
  EXPECT_EQ(code.Output, "svq: unknown language 'fr'; the dictionary's codes are: en-US, de-DE, ja-JP\n"
                         "Try 'svq export --help' for more information.\n");
  EXPECT_EQ(Svq("export -f yaml " + sample).ExitCode, 2);
  EXPECT_EQ(Svq("export -f po " + sample).ExitCode, 2) << "several targets need -o DIR";

  // Cut short inside the rows: the reader's message, and the old file stays as it was.
  TSvqTestFile cut = SampleDictionary();
  cut.TruncateTo = cut.Build().size() - 200;
  cut.Save(folder.File("cut.svq"));
  std::ofstream(folder.File("out.tmx")) << "old";
  const TSvProcessResult broken = Svq("export -f tmx -o " + folder.File("out.tmx") + " " + folder.File("cut"));
  EXPECT_EQ(broken.ExitCode, 1);
  EXPECT_EQ(broken.Output, "svq: " + folder.File("cut.svq") + ": Stream read error\n");
  std::ifstream old(folder.File("out.tmx"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2) << "no temporary file left";
}

TEST(SvqExportCommand, FolderOfCatalogsAndSummaryOfReplacedCharacters) {
  TSvTempDir folder;
  TSvqTestFile file = SampleDictionary();
  file.Rows[2].Texts[1] = u"a\x01" u"b\xD800";
  file.Rows.push_back({{u"", u"x", u"y"}, u"F", u"C"});
  file.Save(folder.File("d.svq"));
  const TSvProcessResult po = Svq("export -f po -o " + folder.File("new/po") + " " + folder.File("d.svq"));
  EXPECT_EQ(po.ExitCode, 0) << po.Output;
  for (const char* name : {"d.pot", "d.de-DE.po", "d.ja-JP.po"})
    EXPECT_TRUE(std::filesystem::exists(folder.File("new/po/") + name)) << name;
  EXPECT_NE(po.Output.find(folder.File("new/po/d.pot") + ": 1 rows with an empty source left out"),
            std::string::npos)
      << po.Output;
  EXPECT_NE(po.Output.find("row 2, de-DE: 1"), std::string::npos) << po.Output;

  const TSvProcessResult tmx = Svq("export -f tmx " + folder.File("d.svq") + " >/dev/null");
  EXPECT_EQ(tmx.ExitCode, 0);
  EXPECT_EQ(tmx.Output, "svq: 2 characters that the format cannot carry were replaced by U+FFFD:\n"
                        "svq:   row 2, de-DE: 2\n");
}

} // namespace
