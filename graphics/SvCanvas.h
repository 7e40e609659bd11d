// The drawing surface of the text renderers: a Cairo image surface with a current
// font and colours, and the graphics font that TSvFont copies to and from.
#pragma once

#include "language/SvFont.h"

#include <cstdint>
#include <string>

// Cairo's handles, declared as cairo.h declares them: users of the canvas need not
// see the graphics library's headers.
typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace sv {

// Colours are 0xRRGGBB.
using TSvColor = std::uint32_t;

// Points are pixels * 72 / 96: the canvas has the screen's 96 dots per inch.
inline constexpr int kScreenPixelsPerInch = 96;

class TSvCanvas {
public:
  // An opaque image of width x height pixels, filled with BrushColor.
  TSvCanvas(int width, int height);
  ~TSvCanvas();
  TSvCanvas(const TSvCanvas&) = delete;
  TSvCanvas& operator=(const TSvCanvas&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  cairo_t* Context() const { return FContext; }
  cairo_surface_t* Surface() const { return FSurface; }

  // Makes colour the source of the next drawing operations.
  void SetSource(TSvColor colour);
  // Fills the whole image with colour.
  void Fill(TSvColor colour);
  // The colour of one pixel; 0 outside the image.
  TSvColor Pixel(int x, int y) const;
  // Writes the image as PNG (for looking at a failed test).
  bool SaveToPng(const std::string& fileName) const;

  // The font in which text is drawn and measured.
  TSvGraphicsFont Font{"Sans", 10};
  // The colour of the text.
  TSvColor FontColor = 0x000000;
  // The background behind opaque text, and the fill of a new canvas.
  TSvColor BrushColor = 0xFFFFFF;

private:
  int FWidth;
  int FHeight;
  cairo_surface_t* FSurface;
  cairo_t* FContext;
};

} // namespace sv
