// Text renderers: they list the installed fonts that cover scripts, answer questions
// about a face, and measure and draw text on a canvas. The standard renderer works on
// fontconfig, Pango and Cairo; it and the renderer list are made at program start.
#pragma once

#include "graphics/SvCanvas.h"
#include "graphics/SvFontConfig.h"
#include "locale/SvLocaleTables.h"

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace sv {

// A set of script rows 0 to 23.
using TSvScriptSet = std::bitset<24>;

// The index of the face named name in faces, compared without regard to case; -1
// when there is none.
int IndexOfFace(const TSvFontFaces& faces, const std::string& name);

enum TSvFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TSvFontStyles = std::uint8_t; // a set of TSvFontStyle
constexpr TSvFontStyles SvStyleBit(TSvFontStyle style) {
  return static_cast<TSvFontStyles>(1u << style);
}

enum TSvHorzAlignment : int { haLeft = 0, haCenter = 1, haRight = 2 };
enum TSvVertAlignment : int { vaTop = 0, vaCenter = 1, vaBottom = 2 };

class TTextRenderer {
public:
  TTextRenderer() = default;
  virtual ~TTextRenderer() = default;
  TTextRenderer(const TTextRenderer&) = delete;
  TTextRenderer& operator=(const TTextRenderer&) = delete;

  virtual bool GetFlag() const;
  virtual std::string GetName() const;
  virtual int GetOrdinal() const;
  // The height of the canvas's current font in pixels.
  virtual int GetTextHeight(TSvCanvas& canvas);
  // Draws text at (x, y), then advances x by the width MeasureText reports.
  virtual void TextOut(TSvCanvas& canvas, const std::u16string& text, int& x, int y);
  // Draws text into the rectangle, aligned horizontally (TSvHorzAlignment) and
  // vertically (TSvVertAlignment). Top and bottom break lines at words inside the
  // width; vertically centred text is one line.
  virtual void DrawText(TSvCanvas& canvas, const std::u16string& text, int left, int top, int width,
                        int height, int horzAlignment, int vertAlignment);
  // Clears list, then the installed families that cover the scripts of the set.
  virtual void GetFonts(TSvFontFaces& list, const TSvScriptSet& scripts);
  virtual bool IsRasterFont(const std::string& face);
  // Clears list, then the point sizes of the face's bitmap strikes.
  virtual void GetFontSizes(const std::string& face, std::vector<int>& list);
  // Clears list, then the distinct style sets of the face's bitmap fonts.
  virtual void GetFontStyles(const std::string& face, std::vector<TSvFontStyles>& list);
  virtual int GetDefaultFontSize(const std::string& face);
  // The extent of text laid out without word break; line breaks in it count.
  virtual void MeasureText(TSvCanvas& canvas, const std::u16string& text, int& width, int& height);

  // Text is drawn with an opaque background.
  bool Opaque = true;
};

class TStandardTextRenderer : public TTextRenderer {
public:
  std::string GetName() const override;
  int GetOrdinal() const override;
  int GetTextHeight(TSvCanvas& canvas) override;
  void TextOut(TSvCanvas& canvas, const std::u16string& text, int& x, int y) override;
  void DrawText(TSvCanvas& canvas, const std::u16string& text, int left, int top, int width,
                int height, int horzAlignment, int vertAlignment) override;
  void GetFonts(TSvFontFaces& list, const TSvScriptSet& scripts) override;
  bool IsRasterFont(const std::string& face) override;
  void GetFontSizes(const std::string& face, std::vector<int>& list) override;
  void GetFontStyles(const std::string& face, std::vector<TSvFontStyles>& list) override;
  int GetDefaultFontSize(const std::string& face) override;
  void MeasureText(TSvCanvas& canvas, const std::u16string& text, int& width, int& height) override;

  // The code page of 8-bit platform text. Text goes to Pango as UTF-8 on this
  // platform, so it is kept for callers only.
  int CodePage = 0;
};

// A list of renderers that it does not own.
class TTextRenderers {
public:
  void Add(TTextRenderer* renderer) { FItems.push_back(renderer); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TTextRenderer* Items(int index) const { return FItems.at(static_cast<std::size_t>(index)); }

private:
  std::vector<TTextRenderer*> FItems;
};

// The process-wide renderers, made by StartTextRenderers; null before and after.
TStandardTextRenderer* StandardTextRenderer();
TTextRenderers* TextRenderers();
// The default font size of scalable faces; 0 from the start.
int DefaultFontSize();
void SetDefaultFontSize(int size);

// Module start and end: the standard renderer and the list holding it; at the end the
// standard renderer goes first, then the list.
void StartTextRenderers();
void FinishTextRenderers();

} // namespace sv
