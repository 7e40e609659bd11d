#include "language/SvFont.h"
#include "graphics/SvCanvas.h"
#include "xml/SvXmlReader.h"

#include <gtest/gtest.h>

#include <climits>

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

std::string Written(const TSvXmlObject& object) {
  TSvXmlFile file;
  object.WriteToXml(file, u"font");
  return file.Bytes();
}

TEST(SvFont, CompareIgnoresCaseThenSizesDecide) {
  TSvFont lower;
  lower.SetName(u"arial");
  lower.SetSize(8);
  TSvFont upper;
  upper.SetName(u"ARIAL");
  upper.SetSize(10);
  EXPECT_EQ(lower.Compare(upper), -1);
  EXPECT_EQ(upper.Compare(lower), 1);
  upper.SetSize(8);
  EXPECT_EQ(lower.Compare(upper), 0);
  // Equal only with exactly the same name.
  EXPECT_FALSE(lower.IsEqual(upper));
  upper.SetName(u"arial");
  EXPECT_TRUE(lower.IsEqual(upper));
  upper.SetSize(8.5);
  EXPECT_FALSE(lower.IsEqual(upper));
  // The name decides before the size.
  upper.SetName(u"Tahoma");
  upper.SetSize(1);
  EXPECT_EQ(lower.Compare(upper), -1);
  EXPECT_EQ(upper.Compare(lower), 1);

  TSvXmlObject stranger;
  EXPECT_THROW(lower.Compare(stranger), ESvInvalidCast);
  EXPECT_FALSE(lower.IsEqual(stranger));
}

TEST(SvFont, AssignCopiesNameAndSizeButNotTheEvent) {
  int calls = 0;
  TSvFont target;
  target.OnChange = [&](TSvObject& sender) {
    EXPECT_EQ(&sender, &target);
    ++calls;
  };
  TSvFont source;
  source.SetName(u"Courier");
  source.SetSize(12);
  source.OnChange = [](TSvObject&) { FAIL() << "the source's event was copied"; };
  target.Assign(source);
  EXPECT_EQ(target.GetName(), u"Courier");
  EXPECT_EQ(target.GetSize(), 12);
  EXPECT_TRUE(target.IsEqual(source));
  EXPECT_EQ(calls, 0);

  // Setters fire on a change only.
  target.SetName(u"Courier");
  target.SetSize(12);
  EXPECT_EQ(calls, 0);
  target.SetName(u"courier");
  target.SetSize(13);
  EXPECT_EQ(calls, 2);

  // Reading and copying from a graphics font store without notification.
  const auto element = ReadXmlBytes("<font name=\"Mono\" size=\"7.5\"/>");
  target.ReadFromXml(*element);
  EXPECT_EQ(target.GetName(), u"Mono");
  EXPECT_EQ(target.GetSize(), 7.5);
  target.AssignFromFont(TSvGraphicsFont{"Sans", 11});
  EXPECT_EQ(target.GetName(), u"Sans");
  EXPECT_EQ(target.GetSize(), 11);
  target.ResetFont();
  EXPECT_EQ(target.GetName(), u"");
  EXPECT_EQ(target.GetSize(), 0);
  EXPECT_EQ(calls, 2);

  // Clear of a plain font does nothing.
  target.SetName(u"Kept");
  target.Clear();
  EXPECT_EQ(target.GetName(), u"Kept");

  TSvXmlObject stranger;
  EXPECT_THROW(target.Assign(stranger), ESvInvalidCast);
  TPurposeFont purpose(fpDisplay);
  EXPECT_THROW(purpose.Assign(source), ESvInvalidCast);
  // A purpose font is a font to a font, but not the other way round.
  purpose.SetName(u"Courier");
  purpose.SetSize(12);
  EXPECT_TRUE(source.IsEqual(purpose));
  EXPECT_FALSE(purpose.IsEqual(source));
}

TEST(SvFont, IntSizeRoundsTiesToEvenAndGraphicsFontsCarryIt) {
  TSvFont font;
  const std::vector<std::pair<double, int>> cases = {
      {8.5, 8}, {9.5, 10}, {10.4, 10}, {10.6, 11}, {-0.5, 0}, {-1.5, -2}, {0, 0}, {1e300, INT_MAX}};
  for (const auto& [size, rounded] : cases) {
    font.SetSize(size);
    EXPECT_EQ(font.GetIntSize(), rounded) << size;
  }
  font.SetName(u"Sans \u00E9");
  font.SetSize(10.5);
  TSvGraphicsFont graphics;
  font.AssignToFont(graphics);
  EXPECT_EQ(graphics.Name, "Sans \xC3\xA9"); // the system code page is UTF-8 here
  EXPECT_EQ(graphics.Size, 10);
  TSvFont back;
  back.AssignFromFont(graphics);
  EXPECT_EQ(back.GetName(), font.GetName());
  EXPECT_EQ(back.GetSize(), 10);
}

TEST(SvPurposeFont, DefaultsByPurposeAndScript) {
  TPurposeFont series(fpSeries60);
  EXPECT_EQ(series.GetPurpose(), fpSeries60);
  EXPECT_EQ(series.GetScript(), 1);
  EXPECT_EQ(series.GetDefaultName(), u"");
  EXPECT_EQ(series.GetDefaultSize(), 0);
  series.SetName(u"Something");
  series.SetSize(5);
  series.Clear();
  EXPECT_EQ(series.GetName(), u"");
  EXPECT_EQ(series.GetSize(), 0);

  // Made for a purpose, a font stands for its defaults: empty and 0.
  TPurposeFont georgian(fpWindows);
  EXPECT_EQ(georgian.GetName(), u"");
  EXPECT_EQ(georgian.GetSize(), 0);
  georgian.SetScript(12);
  int calls = 0;
  georgian.OnChange = [&](TSvObject&) { ++calls; };
  georgian.Clear();
  EXPECT_EQ(georgian.GetName(), u"Arial Unicode");
  EXPECT_EQ(georgian.GetSize(), 8);
  EXPECT_EQ(georgian.GetCodePage(), 0);
  EXPECT_EQ(calls, 2);

  TPurposeFont palm(fpPalm);
  palm.SetScript(6);
  EXPECT_EQ(palm.GetDefaultName(), u"MS UI Gothic");
  EXPECT_EQ(palm.GetCodePage(), 932);
  // A script past the table has the Default row's empty defaults.
  palm.SetScript(200);
  EXPECT_EQ(palm.GetDefaultName(), u"");
  EXPECT_EQ(palm.GetDefaultSize(), 0);
  EXPECT_EQ(palm.GetCodePage(), 1252);
}

TEST(SvPurposeFont, PurposePastTheLastRaisesBothMessages) {
  TPurposeFont font(static_cast<TFontPurpose>(fpUiq + 1));
  try {
    font.GetDefaultName();
    ADD_FAILURE() << "no error";
  } catch (const ESvError& error) {
    EXPECT_STREQ(error.what(), "TPurposeFont.GetDefaultName for the purpose not implemented");
  }
  try {
    font.GetDefaultSize();
    ADD_FAILURE() << "no error";
  } catch (const ESvError& error) {
    EXPECT_STREQ(error.what(), "TPurposeFont.GetDefaultSize for the purpose not implemented");
  }
  EXPECT_THROW(font.Clear(), ESvError);
}

TEST(SvPurposeFont, XmlRoundTrip) {
  TPurposeFont font(fpNetVcl);
  font.SetScript(5);
  font.SetName(u"Tahoma & \"Co\"");
  font.SetSize(8.5);
  const std::string xml = Written(font);
  EXPECT_EQ(xml, "<font purpose=\"fpNetVcl\" script=\"heb\" name=\"Tahoma &amp; &quot;Co&quot;\" "
                 "size=\"8.5\"/>\n");
  TPurposeFont back(fpDisplay);
  int calls = 0;
  back.OnChange = [&](TSvObject&) { ++calls; };
  back.ReadFromXml(*ReadXmlBytes(xml));
  EXPECT_TRUE(back.IsEqual(font));
  EXPECT_EQ(calls, 0);

  // Defaults are left out but the script is always written.
  EXPECT_EQ(Written(TPurposeFont(fpDisplay)), "<font script=\"lat\"/>\n");
  EXPECT_EQ(Written(TSvFont()), "<font/>\n");

  // Unknown purpose and script read as fpDisplay and Latin; absent name and size as empty and 0.
  back.ReadFromXml(*ReadXmlBytes("<font purpose=\"fpBogus\" script=\"xyz\"/>"));
  EXPECT_EQ(back.GetPurpose(), fpDisplay);
  EXPECT_EQ(back.GetScript(), 1);
  EXPECT_EQ(back.GetName(), u"");
  EXPECT_EQ(back.GetSize(), 0);
  back.ReadFromXml(*ReadXmlBytes("<font purpose=\"fpUiq\" script=\"GEO\"/>"));
  EXPECT_EQ(back.GetPurpose(), fpUiq);
  EXPECT_EQ(back.GetScript(), 12);
  back.ReadFromXml(*ReadXmlBytes("<font/>"));
  EXPECT_EQ(back.GetPurpose(), fpDisplay);
  EXPECT_EQ(back.GetScript(), 1);
}

TEST(SvPurposeFont, AssignAndEqualityTakePurposeAndScript) {
  TPurposeFont source(fpCe);
  source.SetScript(9);
  source.SetName(u"Gulim");
  source.SetSize(9);
  TPurposeFont target(fpDisplay);
  target.Assign(source);
  EXPECT_EQ(target.GetPurpose(), fpCe);
  EXPECT_EQ(target.GetScript(), 9);
  EXPECT_TRUE(target.IsEqual(source));
  auto copy = SvClone(source);
  EXPECT_TRUE(copy->IsEqual(source));
  target.SetScript(8);
  EXPECT_FALSE(target.IsEqual(source));
  target.SetScript(9);
  target.SetPurpose(fpNet);
  EXPECT_FALSE(target.IsEqual(source));
}

} // namespace
} // namespace sv
