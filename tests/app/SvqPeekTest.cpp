// Drives the built tool: output bytes and exit codes.
#include "tests/support/SvProcess.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using sv::test::RunProcess;
using sv::test::TSvTempDir;

namespace {

const std::string kBanner =
    "SvqPeek Version " SV_VERSION " Copyright 2026 The SvqPeek developers (MIT License)\n";
const std::string kUsage =
    "SvqPeek shows the SVQ information and can remove language from the file.\n"
    "Syntax:\n"
    "SvqPeek [-t] svqfile\n"
    "  -t         Show translations\n"
    "  svqfile    SVQ file to process\n";

sv::test::TSvProcessResult RunTool(const std::vector<std::string>& args,
                                   const std::string& dir = {}) {
  return RunProcess(SVQPEEK_EXE, args, dir, {"LC_ALL=C.UTF-8", "LANGUAGE="});
}

} // namespace

TEST(SvqPeek, UsageBlockWithExitCodeZero) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{}, {"-x", "dict"}, {"-"}, {"-t"}}) {
    const auto result = RunTool(args);
    EXPECT_EQ(result.Output, kBanner + kUsage);
    EXPECT_EQ(result.ExitCode, 0);
  }
}

TEST(SvqPeek, UsageDoesNotTouchTheFile) {
  TSvTempDir dir;
  const auto result = RunTool({"-x", "missing"}, dir.Path());
  EXPECT_EQ(result.Output, kBanner + kUsage);
}

TEST(SvqPeek, MissingFileIsReportedFoldedAndExtended) {
  TSvTempDir dir;
  auto result = RunTool({"Dict.SVQ"}, dir.Path());
  EXPECT_EQ(result.Output, kBanner + "Could not find file: dict.svq\n");
  EXPECT_EQ(result.ExitCode, 1); // a failure, not a report

  result = RunTool({"dict."}, dir.Path());
  EXPECT_EQ(result.Output, kBanner + "Could not find file: dict.\n");
  EXPECT_EQ(result.ExitCode, 1);

  result = RunTool({"-t", "a.svq", "B"}, dir.Path());
  EXPECT_EQ(result.Output, kBanner + "Could not find file: b.svq\n");
  EXPECT_EQ(result.ExitCode, 1);
}

TEST(SvqPeek, ExistingFilesPassTheCheck) {
  TSvTempDir dir;
  std::ofstream(dir.File("dict.")) << "x";
  std::ofstream(dir.File("b.svq")) << "x";
  // A name without an extension is looked up unchanged when it ends in ".".
  EXPECT_EQ(RunTool({"dict."}, dir.Path()).Output.find("Could not find"), std::string::npos);
  // The last name wins: a.svq does not exist, b.svq does.
  EXPECT_EQ(RunTool({"a.svq", "b.svq"}, dir.Path()).Output.find("Could not find"),
            std::string::npos);
  // An absolute path is a file name, not a switch.
  const auto absolute = RunTool({dir.File("b")});
  EXPECT_EQ(absolute.Output.find("Could not find"), std::string::npos);
  EXPECT_EQ(absolute.Output.find("Syntax:"), std::string::npos);
  // The not-found message prints the folded path.
  std::string folded = dir.File("none.svq");
  for (char& c : folded)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(RunTool({dir.File("NONE")}).Output, kBanner + "Could not find file: " + folded + "\n");
}

TEST(SvqPeek, ADirectoryIsNoFile) {
  TSvTempDir dir;
  std::filesystem::create_directory(dir.File("folder.svq"));
  const auto result = RunTool({"folder"}, dir.Path());
  EXPECT_EQ(result.Output, kBanner + "Could not find file: folder.svq\n");
  EXPECT_EQ(result.ExitCode, 1);
}
