#include "graphics/SvFontConfig.h"

#include "locale/SvLocaleTables.h"
#include "text/SvErrors.h"

#include <fontconfig/fontconfig.h>
#include <glib.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

namespace sv {

namespace {

// The languages a font covers when it covers a character set; in CharsetTable order.
constexpr TSvCharsetLanguages kCharsetLanguageTable[] = {
    {0, "en"},         // ANSI_CHARSET, Western
    {1, ""},           // DEFAULT_CHARSET
    {2, ""},           // SYMBOL_CHARSET
    {128, "ja"},       // SHIFTJIS_CHARSET
    {129, "ko"},       // HANGEUL_CHARSET
    {134, "zh-cn"},    // GB2312_CHARSET
    {136, "zh-tw"},    // CHINESEBIG5_CHARSET
    {255, ""},         // OEM_CHARSET
    {130, "ko"},       // JOHAB_CHARSET
    {177, "he"},       // HEBREW_CHARSET
    {178, "ar"},       // ARABIC_CHARSET
    {161, "el"},       // GREEK_CHARSET
    {162, "tr"},       // TURKISH_CHARSET
    {163, "vi"},       // VIETNAMESE_CHARSET
    {222, "th"},       // THAI_CHARSET
    {238, "pl cs hu"}, // EASTEUROPE_CHARSET
    {204, "ru"},       // RUSSIAN_CHARSET
    {77, ""},          // MAC_CHARSET
    {186, "lt"},       // BALTIC_CHARSET
};

struct TLangSetDeleter {
  void operator()(FcLangSet* set) const { FcLangSetDestroy(set); }
};
using TLangSetPtr = std::unique_ptr<FcLangSet, TLangSetDeleter>;

struct TPatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct TObjectSetDeleter {
  void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct TFontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
using TPatternPtr = std::unique_ptr<FcPattern, TPatternDeleter>;
using TObjectSetPtr = std::unique_ptr<FcObjectSet, TObjectSetDeleter>;
using TFontSetPtr = std::unique_ptr<FcFontSet, TFontSetDeleter>;

// Every installed family with the languages its fonts cover together, sorted by name.
struct TFamily {
  std::string Name;
  std::string Key; // case-folded name, the sort key
  TLangSetPtr Languages;
};

std::optional<std::vector<TFamily>> gFamilies;
int gStarts = 0;
int gEnumerations = 0;

std::string FoldCase(const std::string& text) {
  gchar* folded = g_utf8_casefold(text.data(), static_cast<gssize>(text.size()));
  std::string result = folded ? folded : text;
  g_free(folded);
  return result;
}

// The current configuration; the first call starts fontconfig.
FcConfig* CurrentConfig() {
  static bool started = false;
  if (!started) {
    if (!FcInit())
      throw ESvError("The font configuration could not be loaded");
    started = true;
    ++gStarts;
  }
  return FcConfigGetCurrent();
}

std::vector<TFamily> ListFamilies() {
  FcConfig* config = CurrentConfig();
  TPatternPtr pattern(FcPatternCreate());
  TObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_LANG, nullptr));
  TFontSetPtr fonts(FcFontList(config, pattern.get(), objects.get()));
  ++gEnumerations;
  std::map<std::string, TFamily> byName;
  for (int i = 0; fonts && i < fonts->nfont; ++i) {
    FcChar8* family = nullptr;
    // The first family name is the one fontconfig lists first: the English one.
    if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch)
      continue;
    const std::string name = reinterpret_cast<const char*>(family);
    TFamily& entry = byName[name];
    if (!entry.Languages) {
      entry.Name = name;
      entry.Key = FoldCase(name);
      entry.Languages.reset(FcLangSetCreate());
    }
    FcLangSet* languages = nullptr;
    if (FcPatternGetLangSet(fonts->fonts[i], FC_LANG, 0, &languages) == FcResultMatch)
      entry.Languages.reset(FcLangSetUnion(entry.Languages.get(), languages));
  }
  std::vector<TFamily> families;
  families.reserve(byName.size());
  for (auto& [name, family] : byName)
    families.push_back(std::move(family));
  // Fontconfig's order changes with its cache: the list is sorted by name.
  std::stable_sort(families.begin(), families.end(), [](const TFamily& a, const TFamily& b) {
    return a.Key != b.Key ? a.Key < b.Key : a.Name < b.Name;
  });
  return families;
}

const std::vector<TFamily>& Families() {
  if (!gFamilies)
    gFamilies = ListFamilies();
  return *gFamilies;
}

const TSvCharsetLanguages* LanguagesOfCharset(std::int32_t charset) {
  for (const TSvCharsetLanguages& row : kCharsetLanguageTable) {
    if (row.Charset == charset)
      return &row;
  }
  return nullptr;
}

// True when languages holds every language of row, and row names at least one.
bool Covers(const FcLangSet* languages, const TSvCharsetLanguages& row) {
  std::istringstream words(row.Languages);
  std::string word;
  bool any = false;
  while (words >> word) {
    any = true;
    if (FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(word.c_str())) != FcLangEqual)
      return false;
  }
  return any;
}

std::int32_t FirstCoveredCharset(const FcLangSet* languages) {
  for (const TSvCharsetData& charset : CharsetTable()) {
    const TSvCharsetLanguages* row = LanguagesOfCharset(charset.Value);
    if (row && Covers(languages, *row))
      return charset.Value;
  }
  return kDefaultCharset;
}

bool Listed(const TSvFontFaces& faces, const std::string& name) {
  return std::any_of(faces.begin(), faces.end(),
                     [&](const TSvFontFace& face) { return face.Name == name; });
}

// Pixels to points at the screen resolution, rounded half away from zero as MulDiv does.
int PixelsToPoints(int pixels) {
  const long long scaled = static_cast<long long>(pixels) * 72;
  const long long half = 96 / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / 96 : (scaled - half) / 96);
}

} // namespace

std::span<const TSvCharsetLanguages> CharsetLanguageTable() {
  return kCharsetLanguageTable;
}

void AppendFontFamilies(TSvFontFaces& faces, std::int32_t charset) {
  const std::vector<TFamily>& families = Families();
  if (charset == kDefaultCharset) {
    for (const TFamily& family : families) {
      if (!Listed(faces, family.Name))
        faces.push_back({family.Name, FirstCoveredCharset(family.Languages.get())});
    }
    return;
  }
  const TSvCharsetLanguages* row = LanguagesOfCharset(charset);
  if (!row)
    return;
  for (const TFamily& family : families) {
    if (Covers(family.Languages.get(), *row) && !Listed(faces, family.Name))
      faces.push_back({family.Name, charset});
  }
}

TSvFaceInfo QueryFontFace(const std::string& family) {
  TSvFaceInfo info;
  FcConfig* config = CurrentConfig();
  TPatternPtr pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  TObjectSetPtr objects(
      FcObjectSetBuild(FC_FAMILY, FC_SCALABLE, FC_PIXEL_SIZE, FC_WEIGHT, FC_SLANT, nullptr));
  TFontSetPtr fonts(FcFontList(config, pattern.get(), objects.get()));
  if (!fonts || fonts->nfont == 0)
    return info;
  info.Found = true;
  info.Bitmap = true;
  for (int i = 0; i < fonts->nfont; ++i) {
    const FcPattern* font = fonts->fonts[i];
    FcBool scalable = FcFalse;
    FcPatternGetBool(font, FC_SCALABLE, 0, &scalable);
    if (scalable) {
      info.Bitmap = false;
      continue;
    }
    double pixels = 0;
    for (int n = 0; FcPatternGetDouble(font, FC_PIXEL_SIZE, n, &pixels) == FcResultMatch; ++n)
      info.Points.push_back(PixelsToPoints(static_cast<int>(pixels + 0.5)));
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    TSvFaceStyles styles = 0;
    if (weight >= FC_WEIGHT_BOLD)
      styles |= 1;
    if (slant != FC_SLANT_ROMAN)
      styles |= 2;
    info.Styles.push_back(styles);
  }
  // A face with scalable fonts has no sizes and no styles of its own.
  if (!info.Bitmap) {
    info.Points.clear();
    info.Styles.clear();
  }
  std::sort(info.Points.begin(), info.Points.end());
  info.Points.erase(std::unique(info.Points.begin(), info.Points.end()), info.Points.end());
  std::sort(info.Styles.begin(), info.Styles.end());
  info.Styles.erase(std::unique(info.Styles.begin(), info.Styles.end()), info.Styles.end());
  return info;
}

void UseFontConfiguration(const std::string& fileName) {
  CurrentConfig();
  FcConfig* config = FcConfigCreate();
  if (!config)
    throw ESvError("The font configuration could not be loaded");
  if (!FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(fileName.c_str()), FcTrue) ||
      !FcConfigBuildFonts(config) || !FcConfigSetCurrent(config)) {
    FcConfigDestroy(config);
    throw ESvError("The font configuration could not be loaded");
  }
  // The current configuration holds its own reference.
  FcConfigDestroy(config);
  gFamilies.reset();
}

int FontconfigStarts() {
  return gStarts;
}

int FontEnumerations() {
  return gEnumerations;
}

} // namespace sv
