// The renderers: the abstract base, the process-wide objects, and text measured and
// drawn into an image, checked by the pixels it leaves.
#include "graphics/SvCanvas.h"
#include "graphics/TextRenderer.h"
#include "tests/language/SvFontTestConfig.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace sv {
namespace {

constexpr TSvColor kWhite = 0xFFFFFF;
constexpr TSvColor kRed = 0xFF0000;

// The box around the pixels that differ from background; empty when none do.
struct TBox {
  int Left = 0, Top = 0, Right = -1, Bottom = -1; // inclusive
  bool Empty() const { return Right < Left; }
  int Width() const { return Right - Left + 1; }
  int Height() const { return Bottom - Top + 1; }
  double CenterX() const { return (Left + Right) / 2.0; }
  double CenterY() const { return (Top + Bottom) / 2.0; }
};

TBox Drawn(const TSvCanvas& canvas, TSvColor background = kWhite) {
  TBox box{canvas.Width(), canvas.Height(), -1, -1};
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (canvas.Pixel(x, y) != background) {
        box.Left = std::min(box.Left, x);
        box.Right = std::max(box.Right, x);
        box.Top = std::min(box.Top, y);
        box.Bottom = std::max(box.Bottom, y);
      }
  return box.Right < 0 ? TBox{} : box;
}

int CountColour(const TSvCanvas& canvas, TSvColor colour) {
  int count = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      count += canvas.Pixel(x, y) == colour;
  return count;
}

class SvTextRenderer : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(StandardTextRenderer(), nullptr);
    FRenderer = StandardTextRenderer();
  }
  TSvCanvas& NewCanvas() {
    FCanvas = std::make_unique<TSvCanvas>(400, 200);
    FCanvas->Font = {"DejaVu Sans", 12};
    return *FCanvas;
  }
  // The drawn box of text in the rectangle (50, 40, 300 x 120).
  TBox DrawBox(const std::u16string& text, int horz, int vert) {
    TSvCanvas& canvas = NewCanvas();
    FRenderer->DrawText(canvas, text, 50, 40, 300, 120, horz, vert);
    return Drawn(canvas);
  }

  TStandardTextRenderer* FRenderer = nullptr;
  std::unique_ptr<TSvCanvas> FCanvas;
};

TEST(SvTextRenderers, ModuleMakesTheStandardRendererAndItsList) {
  TStandardTextRenderer* standard = StandardTextRenderer();
  ASSERT_NE(standard, nullptr);
  ASSERT_NE(TextRenderers(), nullptr);
  ASSERT_EQ(TextRenderers()->Count(), 1);
  EXPECT_EQ(TextRenderers()->Items(0), standard);
  EXPECT_EQ(DefaultFontSize(), 0);
  EXPECT_EQ(standard->GetName(), "Standard");
  EXPECT_EQ(standard->GetOrdinal(), 0);
  EXPECT_FALSE(standard->GetFlag());
  EXPECT_TRUE(standard->Opaque);
  EXPECT_EQ(standard->CodePage, 0);
}

TEST(SvTextRenderers, TheBaseLeavesItsOperationsToDescendants) {
  TTextRenderer base;
  EXPECT_TRUE(base.Opaque);
  EXPECT_FALSE(base.GetFlag());
  EXPECT_EQ(base.GetDefaultFontSize("Terminus"), 0);
  TSvCanvas canvas(10, 10);
  int x = 0;
  TSvFontFaces faces;
  EXPECT_THROW(base.TextOut(canvas, u"a", x, 0), ESvAbstractError);
  EXPECT_THROW(base.GetFonts(faces, {}), ESvAbstractError);
  EXPECT_THROW(base.IsRasterFont("a"), ESvAbstractError);
  try {
    base.GetName();
    ADD_FAILURE() << "no error";
  } catch (const ESvAbstractError& error) {
    EXPECT_STREQ(error.what(), "Abstract Error");
  }
}

TEST_F(SvTextRenderer, DrawTextFollowsTheAlignment) {
  const std::u16string text = u"Hello";
  const TBox leftTop = DrawBox(text, haLeft, vaTop);
  ASSERT_FALSE(leftTop.Empty());
  EXPECT_NEAR(leftTop.Left, 50, 3);
  EXPECT_NEAR(leftTop.Top, 40, 6);
  const TBox centre = DrawBox(text, haCenter, vaTop);
  EXPECT_NEAR(centre.CenterX(), 200, 3);
  EXPECT_EQ(centre.Top, leftTop.Top);
  const TBox right = DrawBox(text, haRight, vaTop);
  EXPECT_NEAR(right.Right, 349, 3);
  EXPECT_EQ(right.Width(), leftTop.Width());

  const TBox bottom = DrawBox(text, haLeft, vaBottom);
  EXPECT_NEAR(bottom.Bottom, 159, 6);
  EXPECT_EQ(bottom.Left, leftTop.Left);
  const TBox middle = DrawBox(text, haRight, vaCenter);
  EXPECT_NEAR(middle.CenterY(), 100, 4);
  EXPECT_EQ(middle.Right, right.Right);
  EXPECT_LT(leftTop.Top, middle.Top);
  EXPECT_LT(middle.Bottom, bottom.Bottom);
}

TEST_F(SvTextRenderer, TopAndBottomWrapAtWordsCentredStaysOneLine) {
  const std::u16string text =
      u"The quick brown fox jumps over the lazy dog while five boxing wizards jump quickly";
  int width = 0;
  int height = 0;
  FRenderer->MeasureText(NewCanvas(), text, width, height);
  ASSERT_GT(width, 300); // too long for the rectangle
  const int lineHeight = FRenderer->GetTextHeight(*FCanvas);

  for (int vert : {vaTop, vaBottom}) {
    const TBox wrapped = DrawBox(text, haLeft, vert);
    EXPECT_GE(wrapped.Left, 50);
    EXPECT_LE(wrapped.Right, 349);
    EXPECT_GT(wrapped.Height(), 2 * lineHeight) << "three lines or more";
    EXPECT_GE(wrapped.Top, 40);
    EXPECT_LE(wrapped.Bottom, 159);
  }
  const TBox single = DrawBox(text, haLeft, vaCenter);
  EXPECT_LE(single.Height(), lineHeight);
  // The line runs on to the rectangle's right edge, where it is cut.
  EXPECT_GE(single.Right, 340);
  EXPECT_LE(single.Right, 349);
  // A line break does not break a vertically centred line.
  const TBox broken = DrawBox(u"first\nsecond", haLeft, vaCenter);
  EXPECT_LE(broken.Height(), lineHeight);
}

TEST_F(SvTextRenderer, MeasureTextCountsWidthAndLineBreaks) {
  TSvCanvas& canvas = NewCanvas();
  int shortWidth = 0, shortHeight = 0, longWidth = 0, longHeight = 0;
  FRenderer->MeasureText(canvas, u"Hello", shortWidth, shortHeight);
  FRenderer->MeasureText(canvas, u"Hello, world", longWidth, longHeight);
  EXPECT_GT(shortWidth, 0);
  EXPECT_GT(longWidth, shortWidth);
  EXPECT_EQ(longHeight, shortHeight);
  EXPECT_EQ(shortHeight, FRenderer->GetTextHeight(canvas));

  int twoWidth = 0, twoHeight = 0;
  FRenderer->MeasureText(canvas, u"Hello\nHello", twoWidth, twoHeight);
  EXPECT_EQ(twoWidth, shortWidth);
  EXPECT_GE(twoHeight, 2 * shortHeight - 1);
  // Nothing is drawn by measuring.
  EXPECT_TRUE(Drawn(canvas).Empty());

  // A larger font is taller; a character beyond the Basic Multilingual Plane is not dropped.
  const int smallHeight = FRenderer->GetTextHeight(canvas);
  canvas.Font.Size = 24;
  EXPECT_GT(FRenderer->GetTextHeight(canvas), smallHeight);
  int noteWidth = 0, noteHeight = 0;
  FRenderer->MeasureText(canvas, u"a\U0001D11Eb", noteWidth, noteHeight);
  int plainWidth = 0;
  FRenderer->MeasureText(canvas, u"ab", plainWidth, noteHeight);
  EXPECT_GT(noteWidth, plainWidth);
  // Nothing after a U+0000 is lost, and an unpaired surrogate shows as U+FFFD.
  int nulWidth = 0;
  FRenderer->MeasureText(canvas, std::u16string(u"ab\0cd", 5), nulWidth, noteHeight);
  int replacedWidth = 0;
  FRenderer->MeasureText(canvas, u"ab\uFFFDcd", replacedWidth, noteHeight);
  EXPECT_EQ(nulWidth, replacedWidth);
  int loneWidth = 0;
  FRenderer->MeasureText(canvas, std::u16string(u"a") + char16_t(0xD800) + u"b", loneWidth,
                         noteHeight);
  FRenderer->MeasureText(canvas, u"a\uFFFDb", replacedWidth, noteHeight);
  EXPECT_EQ(loneWidth, replacedWidth);
  EXPECT_GT(loneWidth, plainWidth);
}

TEST_F(SvTextRenderer, TextOutAdvancesByTheMeasuredWidthAndPaintsTheBackground) {
  TSvCanvas& canvas = NewCanvas();
  canvas.BrushColor = kRed;
  int width = 0, height = 0;
  FRenderer->MeasureText(canvas, u"Advance", width, height);
  int x = 20;
  FRenderer->Opaque = true;
  FRenderer->TextOut(canvas, u"Advance", x, 30);
  EXPECT_EQ(x, 20 + width);
  const int red = CountColour(canvas, kRed);
  EXPECT_GT(red, width * height / 2);
  const TBox painted = Drawn(canvas);
  EXPECT_EQ(painted.Left, 20);
  EXPECT_EQ(painted.Top, 30);
  EXPECT_EQ(painted.Width(), width);
  EXPECT_EQ(painted.Height(), height);

  TSvCanvas& clear = NewCanvas();
  clear.BrushColor = kRed;
  FRenderer->Opaque = false;
  x = 20;
  FRenderer->TextOut(clear, u"Advance", x, 30);
  FRenderer->Opaque = true;
  EXPECT_EQ(x, 20 + width);
  EXPECT_EQ(CountColour(clear, kRed), 0);
  const TBox text = Drawn(clear);
  ASSERT_FALSE(text.Empty());
  EXPECT_GE(text.Left, 20);
  EXPECT_LE(text.Right, 20 + width);
}

} // namespace
} // namespace sv
