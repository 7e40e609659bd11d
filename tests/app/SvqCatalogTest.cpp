// The German catalog as a user meets it: the tool's usage block, and the names of the
// locale tables through the library's lookups, both from the catalog the build compiled.
#include "locale/SvLocaleCodes.h"
#include "locale/SvLocaleTables.h"
#include "tests/support/SvProcess.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <libintl.h>

using namespace sv;
using sv::test::RunProcess;
using sv::test::TSvTempDir;
namespace fs = std::filesystem;

extern "C" int _nl_msg_cat_cntr; // glibc: bumping it drops cached translations

namespace {

const std::string kBanner =
    "SvqPeek Version " SV_VERSION " Copyright 2026 The SvqPeek developers (MIT License)\n";

sv::test::TSvProcessResult RunGerman(const std::vector<std::string>& args,
                                     const std::string& dir = {}) {
  return RunProcess(SVQPEEK_EXE, args, dir, {"LC_ALL=C.UTF-8", "LANGUAGE=de"});
}

// Switches the string table of this process to German from the build's catalogs and
// reloads the table names; the destructor goes back to the untranslated texts.
class TGermanStringTable {
public:
  TGermanStringTable() {
    bindtextdomain("SvqPeek", SV_BUILD_LOCALE_DIR);
    Switch("de");
  }
  ~TGermanStringTable() {
    InitStringTable();
    Switch(nullptr);
  }

private:
  static void Switch(const char* language) {
    if (language)
      setenv("LANGUAGE", language, 1);
    else
      unsetenv("LANGUAGE");
    ++_nl_msg_cat_cntr;
    ReleaseLocaleTableNames();
    LoadLocaleTableNames();
  }
};

} // namespace

TEST(SvqCatalog, GermanUsageBlockKeepsTheFixedFormats) {
  const auto result = RunGerman({});
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(result.Output,
            kBanner + "SvqPeek zeigt die SVQ-Informationen an und kann eine Sprache aus der Datei "
                      "entfernen.\n"
                      "Aufruf:\n"
                      "SvqPeek [-t] svqdatei\n"
                      "  -t         Übersetzungen anzeigen\n"
                      "  svqdatei   Zu verarbeitende SVQ-Datei\n");
}

TEST(SvqCatalog, GermanNotFoundMessage) {
  TSvTempDir dir;
  const auto result = RunGerman({"Dict"}, dir.Path());
  EXPECT_EQ(result.Output, kBanner + "Datei nicht gefunden: dict.svq\n");
}

TEST(SvqCatalog, GermanNamesThroughTheLookups) {
  std::string language, country, codePage, encoding, error;
  std::string variant;
  std::u16string serbian, chinese;
  {
    TGermanStringTable german;
    language = LanguageNameOf("de", 0, "");
    country = CountryNameOf("de", "AT", 0);
    codePage = CodePageDescription(*FindCodePage(1252));
    encoding = EncodingDescription(UnicodeEncodingTable()[2]);
    // The display names cut the language name at its first blank or parenthesis.
    serbian = LanguageDisplayName("sr", 1, "", true, u"", u"", "");
    chinese = LocaleDisplayName("zh", "CN", 8, true, u"", u"", u"", "");
    variant = VariantNameOfRow(LocaleTable()[156]);
    // The translation reorders the arguments by their indexes.
    error = SvFormat(SvTr("Locale (%0:d) based sorting of \"%1:s\" and \"%2:s\" failed"),
                     {1031, "a", "b"});
  }
  EXPECT_EQ(language, "Deutsch");
  EXPECT_EQ(country, "Österreich");
  EXPECT_EQ(codePage, "Windows Westeuropäisch");
  EXPECT_EQ(encoding, "UTF-16, Big-Endian");
  EXPECT_EQ(serbian, u"Serbisch, lateinisch");
  EXPECT_EQ(chinese, u"Chinesisch, vereinfacht (Volksrepublik China)");
  EXPECT_EQ(variant, "Nord");
  EXPECT_EQ(error, "Sortieren von \"a\" und \"b\" nach dem Gebietsschema (1031) fehlgeschlagen");
  EXPECT_EQ(LanguageNameOf("de", 0, ""), "German") << "back to the untranslated texts";
}

TEST(SvqCatalog, ProgramFindsTheCatalogsBesideIt) {
  // The built tool finds the build's catalogs; a moved install finds its own.
  EXPECT_TRUE(fs::equivalent(CatalogFolder(SVQPEEK_EXE), SV_BUILD_LOCALE_DIR));

  TSvTempDir dir;
  const fs::path program = fs::path(dir.Path()) / "bin" / "prog";
  const fs::path beside = (program.parent_path() / SV_LOCALE_DIR_FROM_BIN).lexically_normal();
  fs::create_directories(beside / "fr" / "LC_MESSAGES");
  EXPECT_EQ(CatalogFolder(program.string()), SV_LOCALE_DIR) << "a folder without catalogs";
  std::ofstream(beside / "fr" / "LC_MESSAGES" / "Other.mo") << "x";
  EXPECT_EQ(CatalogFolder(program.string()), SV_LOCALE_DIR) << "catalogs of another domain";
  std::ofstream(beside / "fr" / "LC_MESSAGES" / "SvqPeek.mo") << "x";
  EXPECT_EQ(CatalogFolder(program.string()), beside.string());
  EXPECT_EQ(CatalogFolder(""), SV_LOCALE_DIR);
}
