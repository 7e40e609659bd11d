#include "graphics/TextRenderer.h"

#include "text/SvErrors.h"
#include "text/SvStrings.h"

#include <glib.h>
#include <pango/pangocairo.h>

#include <memory>

namespace sv {

namespace {

std::unique_ptr<TStandardTextRenderer> gStandardRenderer;
std::unique_ptr<TTextRenderers> gRenderers;
int gDefaultFontSize = 0;

[[noreturn]] void Abstract() {
  throw ESvAbstractError(kAbstractErrorMessage);
}

struct TObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
using TLayoutPtr = std::unique_ptr<PangoLayout, TObjectUnref>;

// UTF-16 to UTF-8 for Pango. Pango stops at U+0000 and refuses unpaired surrogates,
// so both become U+FFFD and the text after them is kept.
std::string PangoText(const std::u16string& text) {
  std::string utf8;
  utf8.reserve(text.size());
  auto put = [&utf8](char32_t c) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (c >> 18));
      utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      put(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
      ++i;
    } else if (unit == 0 || (unit >= 0xD800 && unit <= 0xDFFF)) {
      put(0xFFFD);
    } else {
      put(unit);
    }
  }
  return utf8;
}

// The one layout through which text is measured and drawn: the canvas's font at the
// screen resolution, the text as UTF-8, no width (so no word break), left aligned.
TLayoutPtr MakeLayout(const TSvCanvas& canvas, const std::u16string& text) {
  TLayoutPtr layout(pango_cairo_create_layout(canvas.Context()));
  pango_cairo_context_set_resolution(pango_layout_get_context(layout.get()), kScreenPixelsPerInch);
  pango_layout_context_changed(layout.get());
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, canvas.Font.Name.c_str());
  pango_font_description_set_size(font, canvas.Font.Size * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), font);
  pango_font_description_free(font);
  // Alignment means left and right whatever the direction of the text.
  pango_layout_set_auto_dir(layout.get(), FALSE);
  const std::string utf8 = PangoText(text);
  pango_layout_set_text(layout.get(), utf8.data(), static_cast<int>(utf8.size()));
  return layout;
}

// Paints the background of the layout's logical extents at (x, y) when opaque, then
// the text.
void ShowLayout(TSvCanvas& canvas, PangoLayout* layout, int x, int y, bool opaque) {
  cairo_t* context = canvas.Context();
  if (opaque) {
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    canvas.SetSource(canvas.BrushColor);
    cairo_rectangle(context, x + logical.x, y + logical.y, logical.width, logical.height);
    cairo_fill(context);
  }
  canvas.SetSource(canvas.FontColor);
  cairo_move_to(context, x, y);
  pango_cairo_show_layout(context, layout);
}

} // namespace

int IndexOfFace(const TSvFontFaces& faces, const std::string& name) {
  gchar* wanted = g_utf8_casefold(name.data(), static_cast<gssize>(name.size()));
  int found = -1;
  for (std::size_t i = 0; wanted && i < faces.size() && found < 0; ++i) {
    gchar* face = g_utf8_casefold(faces[i].Name.data(), static_cast<gssize>(faces[i].Name.size()));
    if (face && g_strcmp0(face, wanted) == 0)
      found = static_cast<int>(i);
    g_free(face);
  }
  g_free(wanted);
  return found;
}

// TTextRenderer

bool TTextRenderer::GetFlag() const {
  return false;
}

std::string TTextRenderer::GetName() const {
  Abstract();
}

int TTextRenderer::GetOrdinal() const {
  Abstract();
}

int TTextRenderer::GetTextHeight(TSvCanvas&) {
  Abstract();
}

void TTextRenderer::TextOut(TSvCanvas&, const std::u16string&, int&, int) {
  Abstract();
}

void TTextRenderer::DrawText(TSvCanvas&, const std::u16string&, int, int, int, int, int, int) {
  Abstract();
}

void TTextRenderer::GetFonts(TSvFontFaces&, const TSvScriptSet&) {
  Abstract();
}

bool TTextRenderer::IsRasterFont(const std::string&) {
  Abstract();
}

void TTextRenderer::GetFontSizes(const std::string&, std::vector<int>&) {
  Abstract();
}

void TTextRenderer::GetFontStyles(const std::string&, std::vector<TSvFontStyles>&) {
  Abstract();
}

int TTextRenderer::GetDefaultFontSize(const std::string&) {
  return 0;
}

void TTextRenderer::MeasureText(TSvCanvas&, const std::u16string&, int&, int&) {
  Abstract();
}

// TStandardTextRenderer

std::string TStandardTextRenderer::GetName() const {
  // TRANSLATORS: the name of the text renderer that draws with the installed fonts.
  return SvTr("Standard");
}

int TStandardTextRenderer::GetOrdinal() const {
  return 0;
}

int TStandardTextRenderer::GetTextHeight(TSvCanvas& canvas) {
  // The height of one line of the font: its ascent and descent.
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(MakeLayout(canvas, std::u16string()).get(), &width, &height);
  return height;
}

void TStandardTextRenderer::TextOut(TSvCanvas& canvas, const std::u16string& text, int& x, int y) {
  const TLayoutPtr layout = MakeLayout(canvas, text);
  ShowLayout(canvas, layout.get(), x, y, Opaque);
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout.get(), &width, &height);
  x += width;
}

void TStandardTextRenderer::DrawText(TSvCanvas& canvas, const std::u16string& text, int left,
                                     int top, int width, int height, int horzAlignment,
                                     int vertAlignment) {
  const TLayoutPtr layout = MakeLayout(canvas, text);
  PangoLayout* lines = layout.get();
  const bool singleLine = vertAlignment == vaCenter;
  if (singleLine) {
    // Line breaks in the text do not break the line.
    pango_layout_set_single_paragraph_mode(lines, TRUE);
  } else if (width > 0) {
    pango_layout_set_width(lines, width * PANGO_SCALE);
    pango_layout_set_wrap(lines, PANGO_WRAP_WORD);
    pango_layout_set_alignment(lines, horzAlignment == haCenter  ? PANGO_ALIGN_CENTER
                                      : horzAlignment == haRight ? PANGO_ALIGN_RIGHT
                                                                 : PANGO_ALIGN_LEFT);
  }
  int textWidth = 0;
  int textHeight = 0;
  pango_layout_get_pixel_size(lines, &textWidth, &textHeight);

  int x = left;
  if (singleLine || width <= 0) {
    if (horzAlignment == haCenter)
      x = left + (width - textWidth) / 2;
    else if (horzAlignment == haRight)
      x = left + width - textWidth;
  }
  int y = top;
  if (vertAlignment == vaCenter)
    y = top + (height - textHeight) / 2;
  else if (vertAlignment == vaBottom)
    y = top + height - textHeight;

  // The text is clipped to the rectangle.
  cairo_t* context = canvas.Context();
  cairo_save(context);
  cairo_rectangle(context, left, top, width, height);
  cairo_clip(context);
  ShowLayout(canvas, lines, x, y, Opaque);
  cairo_restore(context);
}

void TStandardTextRenderer::GetFonts(TSvFontFaces& list, const TSvScriptSet& scripts) {
  list.clear();
  TSvScriptSet defaultOnly;
  defaultOnly.set(0);
  if (scripts.none() || scripts == defaultOnly) {
    AppendFontFamilies(list, kDefaultCharset);
    return;
  }
  for (std::size_t script = 1; script < scripts.size(); ++script) {
    if (scripts.test(script) && HasWindowsCodePage(static_cast<TSvScript>(script)))
      AppendFontFamilies(list, CharsetOfScript(static_cast<TSvScript>(script)));
  }
}

bool TStandardTextRenderer::IsRasterFont(const std::string& face) {
  const TSvFaceInfo info = QueryFontFace(face);
  return info.Found && info.Bitmap;
}

void TStandardTextRenderer::GetFontSizes(const std::string& face, std::vector<int>& list) {
  list = QueryFontFace(face).Points;
}

void TStandardTextRenderer::GetFontStyles(const std::string& face,
                                          std::vector<TSvFontStyles>& list) {
  list.clear();
  for (TSvFaceStyles styles : QueryFontFace(face).Styles) {
    TSvFontStyles set = 0;
    if (styles & 1)
      set |= SvStyleBit(fsBold);
    if (styles & 2)
      set |= SvStyleBit(fsItalic);
    list.push_back(set);
  }
}

int TStandardTextRenderer::GetDefaultFontSize(const std::string& face) {
  return IsRasterFont(face) ? 0 : gDefaultFontSize;
}

void TStandardTextRenderer::MeasureText(TSvCanvas& canvas, const std::u16string& text, int& width,
                                        int& height) {
  pango_layout_get_pixel_size(MakeLayout(canvas, text).get(), &width, &height);
}

// The process-wide renderers

TStandardTextRenderer* StandardTextRenderer() {
  return gStandardRenderer.get();
}

TTextRenderers* TextRenderers() {
  return gRenderers.get();
}

int DefaultFontSize() {
  return gDefaultFontSize;
}

void SetDefaultFontSize(int size) {
  gDefaultFontSize = size;
}

void StartTextRenderers() {
  gStandardRenderer = std::make_unique<TStandardTextRenderer>();
  gRenderers = std::make_unique<TTextRenderers>();
  gRenderers->Add(gStandardRenderer.get());
  gDefaultFontSize = 0;
}

void FinishTextRenderers() {
  gStandardRenderer.reset();
  gRenderers.reset();
  // Pango's font map of this thread goes with its caches of fontconfig patterns.
  pango_cairo_font_map_set_default(nullptr);
}

} // namespace sv
