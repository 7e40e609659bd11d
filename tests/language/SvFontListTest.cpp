// The installed fonts through the standard renderer, on the private configuration.
#include "language/SvFont.h"
#include "graphics/SvFontConfig.h"
#include "graphics/TextRenderer.h"
#include "tests/language/SvFontTestConfig.h"
#include "xml/SvXmlReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace sv {
namespace {

using test::FontTestConfig;

TSvScriptSet Scripts(std::initializer_list<int> rows) {
  TSvScriptSet set;
  for (int row : rows)
    set.set(static_cast<std::size_t>(row));
  return set;
}

// "name charset" of each face, joined by ", ".
std::string Listed(std::initializer_list<int> rows) {
  TSvFontFaces faces = {{"stale", 1}};
  StandardTextRenderer()->GetFonts(faces, Scripts(rows));
  std::string text;
  for (const TSvFontFace& face : faces)
    text += (text.empty() ? "" : ", ") + face.Name + " " + std::to_string(face.Charset);
  return text;
}

class SvFontList : public testing::Test {
protected:
  // Tests that change the configuration go back to the plain one.
  void TearDown() override { UseFontConfiguration(FontTestConfig().PlainFile()); }
};

TEST_F(SvFontList, ListsByCharsetSortedAndEachFamilyOnce) {
  EXPECT_EQ(Listed({1}), "DejaVu Math TeX Gyre 0, DejaVu Sans 0, DejaVu Sans Mono 0, "
                         "Liberation Sans 0, Terminus 0, WenQuanYi Micro Hei 0, "
                         "WenQuanYi Micro Hei Mono 0");
  // Only faces that cover Russian: the mathematical face does not.
  EXPECT_EQ(Listed({3}), "DejaVu Sans 204, DejaVu Sans Mono 204, Liberation Sans 204, "
                         "Terminus 204, WenQuanYi Micro Hei 204, WenQuanYi Micro Hei Mono 204");
  EXPECT_EQ(Listed({6}), "WenQuanYi Micro Hei 128, WenQuanYi Micro Hei Mono 128");
  EXPECT_EQ(Listed({7}), "WenQuanYi Micro Hei 136, WenQuanYi Micro Hei Mono 136");
  EXPECT_EQ(Listed({8}), "WenQuanYi Micro Hei 134, WenQuanYi Micro Hei Mono 134");
  EXPECT_EQ(Listed({5}), "DejaVu Sans 177, Liberation Sans 177, Terminus 177");
  EXPECT_EQ(Listed({4}), "DejaVu Sans 178, DejaVu Sans Mono 178");
  EXPECT_EQ(Listed({10}), "");
}

TEST_F(SvFontList, ScriptsInAscendingOrderFirstCharsetWins) {
  // Hebrew (5) before Japanese (6): the CJK faces come after, with their own charset.
  EXPECT_EQ(Listed({6, 5}), "DejaVu Sans 177, Liberation Sans 177, Terminus 177, "
                            "WenQuanYi Micro Hei 128, WenQuanYi Micro Hei Mono 128");
  // Cyrillic (3) lists the CJK faces first, so Japanese adds nothing.
  EXPECT_EQ(Listed({6, 3}), Listed({3}));
  // Scripts without a Windows code page are left out, alone or with others.
  EXPECT_EQ(Listed({11}), "");
  EXPECT_EQ(Listed({12, 15, 19}), "");
  EXPECT_EQ(Listed({12, 5}), Listed({5}));
}

TEST_F(SvFontList, DefaultSetListsEveryFamilyWithItsFirstCharset) {
  const std::string all = Listed({});
  EXPECT_EQ(all, Listed({0}));
  EXPECT_EQ(all, "DejaVu Math TeX Gyre 0, DejaVu Sans 0, DejaVu Sans Mono 0, Liberation Sans 0, "
                 "Terminus 0, WenQuanYi Micro Hei 0, WenQuanYi Micro Hei Mono 0");
  // Default with a real script is the script's list.
  EXPECT_EQ(Listed({0, 3}), Listed({3}));
}

TEST_F(SvFontList, CharsetLanguagesFollowTheCharsetTable) {
  const auto charsets = CharsetTable();
  const auto languages = CharsetLanguageTable();
  ASSERT_EQ(languages.size(), charsets.size());
  for (std::size_t i = 0; i < charsets.size(); ++i)
    EXPECT_EQ(languages[i].Charset, charsets[i].Value) << charsets[i].Name;
}

TEST_F(SvFontList, DisplayDefaultIsAnInstalledFace) {
  // Arial is only an alias here: the first face of the Western list.
  TPurposeFont latin;
  EXPECT_EQ(latin.GetName(), u"DejaVu Math TeX Gyre");
  EXPECT_EQ(latin.GetSize(), 10);

  TPurposeFont cyrillic(fpDisplay);
  cyrillic.SetScript(3);
  cyrillic.Clear();
  EXPECT_EQ(cyrillic.GetName(), u"DejaVu Sans");
  // An installed current name stays, whatever its case; one that is not gives way.
  cyrillic.SetName(u"terminus");
  EXPECT_EQ(cyrillic.GetDefaultName(), u"terminus");
  cyrillic.SetName(u"DejaVu Math TeX Gyre");
  EXPECT_EQ(cyrillic.GetDefaultName(), u"DejaVu Sans");

  // No Windows code page, no list, no display face.
  TPurposeFont georgian(fpDisplay);
  georgian.SetScript(12);
  georgian.SetName(u"DejaVu Sans");
  EXPECT_EQ(georgian.GetDefaultName(), u"");
  georgian.Clear();
  EXPECT_EQ(georgian.GetName(), u"");
  EXPECT_EQ(georgian.GetSize(), 10);

  // Without the graphics library's hook (a program that does not link it) the
  // table's face, though not installed, and no font list is read.
  const TSvDisplayFaceHook hook = DisplayFaceHook();
  ASSERT_NE(hook, nullptr);
  SetDisplayFaceHook(nullptr);
  const int enumerations = FontEnumerations();
  TPurposeFont unlisted;
  cyrillic.SetName(u"terminus");
  EXPECT_EQ(unlisted.GetName(), u"Arial");
  EXPECT_EQ(cyrillic.GetDefaultName(), u"Arial");
  EXPECT_EQ(FontEnumerations(), enumerations);
  SetDisplayFaceHook(hook);

  UseFontConfiguration(FontTestConfig().ArialFile());
  TPurposeFont arial;
  EXPECT_EQ(arial.GetName(), u"Arial");
  cyrillic.SetName(u"Terminus");
  EXPECT_EQ(cyrillic.GetDefaultName(), u"Arial");
}

TEST_F(SvFontList, TheListIsReadOncePerConfiguration) {
  UseFontConfiguration(FontTestConfig().PlainFile());
  const int before = FontEnumerations();
  TSvFontFaces faces;
  StandardTextRenderer()->GetFonts(faces, Scripts({1}));
  StandardTextRenderer()->GetFonts(faces, Scripts({1}));
  StandardTextRenderer()->GetFonts(faces, Scripts({3, 5}));
  TPurposeFont latin;
  EXPECT_FALSE(latin.GetName().empty());
  EXPECT_EQ(FontEnumerations(), before + 1);
}

TEST_F(SvFontList, BitmapFaceHasSizesInPointsAndStyles) {
  TStandardTextRenderer& renderer = *StandardTextRenderer();
  EXPECT_TRUE(renderer.IsRasterFont("Terminus"));
  EXPECT_TRUE(renderer.IsRasterFont("terminus"));
  std::vector<int> sizes = {99};
  renderer.GetFontSizes("Terminus", sizes);
  // 12 to 32 pixels at 96 dpi, halves rounded up.
  EXPECT_EQ(sizes, (std::vector<int>{9, 11, 12, 14, 15, 17, 18, 21, 24}));
  std::vector<TSvFontStyles> styles = {99};
  renderer.GetFontStyles("Terminus", styles);
  const TSvFontStyles bold = SvStyleBit(fsBold);
  const TSvFontStyles italic = SvStyleBit(fsItalic);
  EXPECT_EQ(styles, (std::vector<TSvFontStyles>{0, bold, italic, TSvFontStyles(bold | italic)}));
  EXPECT_EQ(renderer.GetDefaultFontSize("Terminus"), 0);

  for (const std::string face : {"DejaVu Sans", "Liberation Sans", "No Such Face"}) {
    SCOPED_TRACE(face);
    EXPECT_FALSE(renderer.IsRasterFont(face));
    sizes = {99};
    renderer.GetFontSizes(face, sizes);
    EXPECT_TRUE(sizes.empty());
    styles = {99};
    renderer.GetFontStyles(face, styles);
    EXPECT_TRUE(styles.empty());
  }
  SetDefaultFontSize(12);
  EXPECT_EQ(renderer.GetDefaultFontSize("DejaVu Sans"), 12);
  EXPECT_EQ(renderer.GetDefaultFontSize("Terminus"), 0);
  SetDefaultFontSize(0);
}

// Work of the dictionary reader's side: fonts made for a purpose, given a script,
// read, compared, copied and cleared for a purpose with table defaults.
void UseFontsLikeAReader() {
  TPurposeFont font(fpDisplay);
  font.SetScript(3);
  font.SetName(u"Tahoma");
  font.SetSize(9);
  TPurposeFont other(fpDisplay);
  other.Assign(font);
  const auto read = ReadXmlBytes("<font script=\"gre\" name=\"X\" size=\"8\"/>");
  other.ReadFromXml(*read);
  (void)font.IsEqual(other);
  (void)font.Compare(other);
  (void)font.GetCodePage();
  (void)font.GetDefaultSize();
  auto copy = SvClone(font);
  TPurposeFont windows(fpWindows);
  windows.Clear();
}

TEST(SvFontStartup, ReaderSideFontsNeverStartFontconfig) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // In a fresh process: the work leaves fontconfig unstarted and nothing enumerated.
  EXPECT_EXIT(
      {
        UseFontsLikeAReader();
        std::exit(FontconfigStarts() == 0 && FontEnumerations() == 0 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
  // Reading the name of a default display font does start it.
  EXPECT_EXIT(
      {
        TPurposeFont font;
        (void)font.GetName();
        std::exit(FontconfigStarts() == 1 && FontEnumerations() == 1 ? 3 : 1);
      },
      testing::ExitedWithCode(3), "");
}

TEST(SvFontStartup, TheToolDoesNotLoadTheFontConfiguration) {
  const std::vector<std::string> environment = {
      "FC_DEBUG=1024", "FONTCONFIG_FILE=" + FontTestConfig().PlainFile(), "LC_ALL=C.UTF-8"};
  const auto tool =
      test::RunProcess(SVQPEEK_EXE, {"-t", SV_SOURCE_DIR "/examples/sample.svq"}, {}, environment);
  EXPECT_EQ(tool.ExitCode, 0);
  EXPECT_EQ(tool.Output.find("Loading config file"), std::string::npos) << tool.Output;
  // The same trace shows up for a program that lists the fonts.
  const auto lister = test::RunProcess(
      "/proc/self/exe", {"--gtest_filter=SvFontList.ListsByCharsetSortedAndEachFamilyOnce"}, {},
      environment);
  EXPECT_EQ(lister.ExitCode, 0);
  EXPECT_NE(lister.Output.find("Loading config file"), std::string::npos) << lister.Output;
}

} // namespace
} // namespace sv
