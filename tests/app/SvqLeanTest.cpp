// The tool maps only what a report needs: no graphics library is linked, and a run
// opens neither the ODBC driver manager nor ICU's collation library.
#include "tests/support/SvProcess.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// Libraries of fonts and drawing and what they bring along.
const char* const kGraphicsLibraries[] = {"fontconfig", "pango", "cairo", "glib", "gobject",
                                          "harfbuzz",   "freetype", "pixman", "libX", "xcb"};

} // namespace

TEST(SvqLean, NoGraphicsLibraryAndNoDriverManagerInARun) {
  const sv::test::TSvProcessResult ldd = sv::test::RunProcess("/usr/bin/ldd", {SVQPEEK_EXE});
  ASSERT_EQ(ldd.ExitCode, 0) << ldd.Output;
  ASSERT_NE(ldd.Output.find("libc.so"), std::string::npos) << ldd.Output;
  for (const char* library : kGraphicsLibraries)
    EXPECT_EQ(ldd.Output.find(library), std::string::npos) << library << " in\n" << ldd.Output;

  // The loader's log of a run with -t names every object it loaded.
  sv::test::TSvTempDir dir;
  const sv::test::TSvProcessResult run = sv::test::RunProcess(
      SVQPEEK_EXE, {"-t", std::string(SV_SOURCE_DIR) + "/examples/sample.svq"}, {},
      {"LC_ALL=C.UTF-8", "LD_DEBUG=files", "LD_DEBUG_OUTPUT=" + dir.File("ld")});
  EXPECT_EQ(run.ExitCode, 0) << run.Output;
  int files = 0;
  std::string loaded;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    ++files;
    std::ifstream log(entry.path());
    for (std::string line; std::getline(log, line);)
      if (line.find("calling init:") != std::string::npos)
        loaded += line + "\n";
  }
  ASSERT_EQ(files, 1); // the loader wrote its log
  EXPECT_NE(loaded.find("libicuuc"), std::string::npos) << loaded;
  EXPECT_EQ(loaded.find("libodbc"), std::string::npos) << loaded;
  EXPECT_EQ(loaded.find("libicui18n"), std::string::npos) << loaded;
}
