#include "app/SvqArgs.h"
#include "tests/support/SvProcess.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace sv;

TEST(SvqArgs, FoldsAsciiLettersOnly) {
  EXPECT_EQ(FoldAscii("Dict.SVQ"), "dict.svq");
  EXPECT_EQ(FoldAscii("\xC3\x84RGER-T"), "\xC3\x84rger-t"); // bytes above 127 stay
}

TEST(SvqArgs, SwitchesStartWithMinusOrALoneSlash) {
  EXPECT_TRUE(IsSwitchArgument("-t"));
  EXPECT_TRUE(IsSwitchArgument("/t"));
  EXPECT_TRUE(IsSwitchArgument("/x"));
  EXPECT_TRUE(IsSwitchArgument("-"));
  EXPECT_TRUE(IsSwitchArgument("-/a/b"));
  EXPECT_FALSE(IsSwitchArgument("/home/anna/dict.svq"));
  EXPECT_FALSE(IsSwitchArgument("dict"));
  EXPECT_FALSE(IsSwitchArgument(""));
}

TEST(SvqArgs, DefaultExtension) {
  EXPECT_EQ(WithDefaultExtension("dict"), "dict.svq");
  EXPECT_EQ(WithDefaultExtension("dict."), "dict.");
  EXPECT_EQ(WithDefaultExtension("dict.dat"), "dict.dat");
  EXPECT_EQ(WithDefaultExtension("my.dir/dict"), "my.dir/dict.svq");
  EXPECT_EQ(WithDefaultExtension("my.dir\\dict"), "my.dir\\dict.svq");
  EXPECT_EQ(WithDefaultExtension("c:dict"), "c:dict.svq");
  EXPECT_EQ(WithDefaultExtension("/a.b/c.d/e"), "/a.b/c.d/e.svq");
}

TEST(SvqArgs, TranslationSwitchInAnyPositionAndSpelling) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"-T", "dict"},
                                                                {"/t", "dict"},
                                                                {"dict", "-t"},
                                                                {"-translations", "dict"},
                                                                {"-tx", "dict"}}) {
    const TSvqArguments parsed = ParseArguments(args);
    EXPECT_FALSE(parsed.ShowUsage);
    EXPECT_TRUE(parsed.ShowTranslations);
    EXPECT_EQ(parsed.FileName, "dict.svq");
  }
}

TEST(SvqArgs, UsageCases) {
  EXPECT_TRUE(ParseArguments({}).ShowUsage);
  EXPECT_TRUE(ParseArguments({"-t"}).ShowUsage);
  EXPECT_TRUE(ParseArguments({"-x", "dict"}).ShowUsage);
  EXPECT_TRUE(ParseArguments({"dict", "-x"}).ShowUsage);
  EXPECT_TRUE(ParseArguments({"-"}).ShowUsage);
  EXPECT_TRUE(ParseArguments({"/"}).ShowUsage);
  EXPECT_TRUE(ParseArguments({""}).ShowUsage);
}

TEST(SvqArgs, LastNameWinsAndEmptyArgumentsAreIgnored) {
  const TSvqArguments parsed = ParseArguments({"a.svq", "", "B.svq", ""});
  EXPECT_FALSE(parsed.ShowUsage);
  EXPECT_FALSE(parsed.ShowTranslations);
  EXPECT_EQ(parsed.FileName, "b.svq");
  EXPECT_EQ(parsed.GivenName, "B.svq");
}

TEST(SvqArgs, ResolvesTheGivenNameThenTheFoldedOne) {
  test::TSvTempDir dir;
  std::ofstream(dir.File("Mixed.svq")) << "x";
  std::ofstream(dir.File("lower.svq")) << "x";
  std::filesystem::create_directory(dir.File("folder.svq"));

  // The folded name folds the whole path, so look up relative to the folder.
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  EXPECT_EQ(ResolveFile(ParseArguments({"Mixed"})), "Mixed.svq");
  EXPECT_EQ(ResolveFile(ParseArguments({"LOWER"})), "lower.svq");
  EXPECT_EQ(ResolveFile(ParseArguments({"MIXED"})), std::nullopt);
  EXPECT_EQ(ResolveFile(ParseArguments({"folder"})), std::nullopt);
  EXPECT_EQ(ResolveFile(ParseArguments({"none"})), std::nullopt);
  std::filesystem::current_path(previous);
  EXPECT_EQ(ResolveFile(ParseArguments({dir.File("Mixed")})), dir.File("Mixed.svq"));
}
