#include "graphics/SvCanvas.h"

#include "text/SvErrors.h"

#include <cairo.h>

namespace sv {

TSvCanvas::TSvCanvas(int width, int height)
    : FWidth(width > 0 ? width : 1), FHeight(height > 0 ? height : 1),
      FSurface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, FWidth, FHeight)),
      FContext(cairo_create(FSurface)) {
  if (cairo_surface_status(FSurface) != CAIRO_STATUS_SUCCESS ||
      cairo_status(FContext) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(FContext);
    cairo_surface_destroy(FSurface);
    throw ESvError("The canvas could not be created");
  }
  Fill(BrushColor);
}

TSvCanvas::~TSvCanvas() {
  cairo_destroy(FContext);
  cairo_surface_destroy(FSurface);
}

void TSvCanvas::SetSource(TSvColor colour) {
  cairo_set_source_rgb(FContext, ((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                       (colour & 0xFF) / 255.0);
}

void TSvCanvas::Fill(TSvColor colour) {
  cairo_save(FContext);
  SetSource(colour);
  cairo_paint(FContext);
  cairo_restore(FContext);
}

TSvColor TSvCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
    return 0;
  cairo_surface_flush(FSurface);
  const unsigned char* row =
      cairo_image_surface_get_data(FSurface) + y * cairo_image_surface_get_stride(FSurface);
  // RGB24 keeps each pixel in a native 32-bit word, the top byte unused.
  const auto* pixels = reinterpret_cast<const std::uint32_t*>(row);
  return pixels[x] & 0xFFFFFF;
}

bool TSvCanvas::SaveToPng(const std::string& fileName) const {
  return cairo_surface_write_to_png(FSurface, fileName.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace sv
