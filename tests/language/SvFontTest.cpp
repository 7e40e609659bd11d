#include "language/SvFont.h"
#include "language/SvCanvas.h"
#include "xml/SvXmlReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sv {
namespace {

// The seven valued purposes of a row, "name size" each, joined by "; ".
std::string ValuedFonts(const TFontsData& row) {
  std::string text;
  for (int purpose = fpDisplay; purpose <= fpPalm; ++purpose) {
    if (purpose != fpDisplay)
      text += "; ";
    text += std::string(row.Fonts[purpose].Name) + " " + std::to_string(row.Fonts[purpose].Size);
  }
  return text;
}

TEST(SvFontTable, RowsInScriptOrderWithTheirDefaults) {
  const std::string latin = "Arial 10; MS Sans Serif 8; MS Sans Serif 8; Microsoft Sans Serif 8; "
                            "Tahoma 8; MS Sans Serif 8; PalmText9B 8";
  const std::string thai = "Arial 10; MS Sans Serif 8; MS Sans Serif 8; Microsoft Sans Serif 8; "
                           "Tahoma 8; MS Sans Serif 8; MS Sans Serif 8";
  auto sameFace = [](const std::string& display, const std::string& face, int size, int palm) {
    std::string text = display + " 10";
    for (int i = 0; i < 5; ++i)
      text += "; " + face + " " + std::to_string(size);
    return text + "; " + face + " " + std::to_string(palm);
  };
  const std::string unicode = sameFace("Arial Unicode", "Arial Unicode", 8, 8);
  const std::string mangal = sameFace("Mangal", "Mangal", 8, 8);
  struct TExpected {
    int CodePage;
    std::string Fonts;
  };
  const std::vector<TExpected> expected = {
      {1252, " 0;  0;  0;  0;  0;  0;  0"},
      {1252, latin},
      {1253, latin},
      {1251, latin},
      {1256, latin},
      {1255, latin},
      {932, sameFace("MS UI Gothic", "MS UI Gothic", 9, 8)},
      {950, sameFace("Arial", "PMingLiU", 9, 8)},
      {936, sameFace("Arial", "Simsun", 9, 8)},
      {949, sameFace("Arial", "Gulim", 9, 8)},
      {874, thai},
      {0, unicode},
      {0, unicode},
      {0, thai},
      {0, thai},
      {0, mangal},
      {0, mangal},
      {0, thai},
      {0, thai},
      {0, sameFace("Arial", "Latha", 8, 8)},
      {0, thai},
      {0, thai},
      {0, thai},
      {0, thai},
  };
  const auto table = DefaultFontTable();
  ASSERT_EQ(table.size(), expected.size());
  ASSERT_EQ(table.size(), ScriptTable().size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE("script " + std::to_string(i));
    EXPECT_EQ(table[i].Script, i);
    EXPECT_EQ(table[i].CodePage, expected[i].CodePage);
    EXPECT_EQ(ValuedFonts(table[i]), expected[i].Fonts);
    for (int purpose = fpSeries60; purpose <= fpUiq; ++purpose) {
      EXPECT_STREQ(table[i].Fonts[purpose].Name, "");
      EXPECT_EQ(table[i].Fonts[purpose].Size, 0);
    }
  }
}

} // namespace
} // namespace sv
