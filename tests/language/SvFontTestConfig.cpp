#include "tests/language/SvFontTestConfig.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace sv::test {

namespace {

// Fonts of fonts-dejavu-core, fonts-dejavu-extra, fonts-liberation2, fonts-wqy-microhei
// and fonts-terminus-otb.
constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuMathTeXGyre.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "/usr/share/fonts/opentype/terminus/terminus-normal.otb",
    "/usr/share/fonts/opentype/terminus/terminus-bold.otb",
    "/usr/share/fonts/opentype/terminus/terminus-oblique.otb",
    "/usr/share/fonts/opentype/terminus/terminus-bold-oblique.otb",
};

constexpr const char* kArialAlias = R"(  <alias>
    <family>Arial</family>
    <prefer><family>Liberation Sans</family></prefer>
  </alias>
)";

// Renames the family when the font is scanned: the installed face is called Arial.
constexpr const char* kArialFace = R"(  <match target="scan">
    <test name="family"><string>Liberation Sans</string></test>
    <edit name="family" mode="assign_replace"><string>Arial</string></edit>
  </match>
)";

class TFontEnvironment : public testing::Environment {
public:
  void SetUp() override {
    const TSvFontTestConfig& config = FontTestConfig();
    ASSERT_EQ(config.Missing(), "") << "install the font packages of build.sh";
  }
};

[[maybe_unused]] testing::Environment* const gEnvironment =
    testing::AddGlobalTestEnvironment(new TFontEnvironment);

} // namespace

TSvFontTestConfig::TSvFontTestConfig() {
  namespace fs = std::filesystem;
  fs::create_directory(FDir.File("fonts"));
  for (const char* file : kFontFiles) {
    if (!fs::exists(file) && FMissing.empty())
      FMissing = file;
    std::error_code ignored;
    fs::create_symlink(file, FDir.File("fonts/") + fs::path(file).filename().string(), ignored);
  }
  FPlain = WriteConfig("plain", kArialAlias);
  FArial = WriteConfig("arial", kArialFace);
}

std::string TSvFontTestConfig::FreshCacheFile(const std::string& name) const {
  return WriteConfig(name, kArialAlias);
}

std::string TSvFontTestConfig::WriteConfig(const std::string& name,
                                           const std::string& extra) const {
  const std::string file = FDir.File(name + ".conf");
  std::ofstream(file) << "<?xml version=\"1.0\"?>\n"
                      << "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                      << "<fontconfig>\n"
                      << "  <dir>" << FDir.File("fonts") << "</dir>\n"
                      << "  <cachedir>" << FDir.File("cache-" + name) << "</cachedir>\n"
                      << extra << "</fontconfig>\n";
  return file;
}

const TSvFontTestConfig& FontTestConfig() {
  static const TSvFontTestConfig config;
  static const bool pointed = ::setenv("FONTCONFIG_FILE", config.PlainFile().c_str(), 1) == 0;
  (void)pointed;
  return config;
}

} // namespace sv::test
