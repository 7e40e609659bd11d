#include "language/SvFont.h"

#include "locale/SvConvert.h"

#include <cmath>
#include <limits>

namespace sv {

namespace {

// clang-format off

// Script, code page, then name and size for each purpose in TFontPurpose order.
constexpr TFontsData kDefaultFontTable[] = {
    /*  0 Default */ {0, 1252, {{"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /*  1 Latin */ {1, 1252, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"PalmText9B", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /*  2 Greek */ {2, 1253, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"PalmText9B", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /*  3 Cyrillic */ {3, 1251, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"PalmText9B", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /*  4 Arabic */ {4, 1256, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"PalmText9B", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /*  5 Hebrew */ {5, 1255, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"PalmText9B", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /*  6 Japanese */ {6, 932, {{"MS UI Gothic", 10}, {"MS UI Gothic", 9}, {"MS UI Gothic", 9}, {"MS UI Gothic", 9}, {"MS UI Gothic", 9}, {"MS UI Gothic", 9}, {"MS UI Gothic", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /*  7 Chinese, traditional */ {7, 950, {{"Arial", 10}, {"PMingLiU", 9}, {"PMingLiU", 9}, {"PMingLiU", 9}, {"PMingLiU", 9}, {"PMingLiU", 9}, {"PMingLiU", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /*  8 Chinese, simplified */ {8, 936, {{"Arial", 10}, {"Simsun", 9}, {"Simsun", 9}, {"Simsun", 9}, {"Simsun", 9}, {"Simsun", 9}, {"Simsun", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /*  9 Korean */ {9, 949, {{"Arial", 10}, {"Gulim", 9}, {"Gulim", 9}, {"Gulim", 9}, {"Gulim", 9}, {"Gulim", 9}, {"Gulim", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 10 Thai */ {10, 874, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 11 Armenian */ {11, 0, {{"Arial Unicode", 10}, {"Arial Unicode", 8}, {"Arial Unicode", 8}, {"Arial Unicode", 8}, {"Arial Unicode", 8}, {"Arial Unicode", 8}, {"Arial Unicode", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 12 Georgian */ {12, 0, {{"Arial Unicode", 10}, {"Arial Unicode", 8}, {"Arial Unicode", 8}, {"Arial Unicode", 8}, {"Arial Unicode", 8}, {"Arial Unicode", 8}, {"Arial Unicode", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 13 Syriac */ {13, 0, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 14 Dhives akuru */ {14, 0, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 15 Devanagari */ {15, 0, {{"Mangal", 10}, {"Mangal", 8}, {"Mangal", 8}, {"Mangal", 8}, {"Mangal", 8}, {"Mangal", 8}, {"Mangal", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 16 Bengali */ {16, 0, {{"Mangal", 10}, {"Mangal", 8}, {"Mangal", 8}, {"Mangal", 8}, {"Mangal", 8}, {"Mangal", 8}, {"Mangal", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 17 Gurmukhi */ {17, 0, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 18 Oriya */ {18, 0, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 19 Tamil */ {19, 0, {{"Arial", 10}, {"Latha", 8}, {"Latha", 8}, {"Latha", 8}, {"Latha", 8}, {"Latha", 8}, {"Latha", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 20 Telugu */ {20, 0, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 21 Kannada */ {21, 0, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 22 Malayalam */ {22, 0, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
    /* 23 Gujarati */ {23, 0, {{"Arial", 10}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"Microsoft Sans Serif", 8}, {"Tahoma", 8}, {"MS Sans Serif", 8}, {"MS Sans Serif", 8}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
};

// clang-format on

constexpr const char* kFontPurposeNames[] = {"fpDisplay",  "fpWindows",  "fpCe",   "fpNet",
                                             "fpNetVcl",   "fpVcl",      "fpPalm", "fpSeries60",
                                             "fpSeries80", "fpSeries90", "fpUiq"};
constexpr TSvTypeInfo kFontPurposeType = SvEnumTypeInfo("TFontPurpose", kFontPurposeNames);

// -1, 0 or 1 as a sorts before, with or after b, ASCII letters without regard to case.
int CompareTextAscii(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z')
      x = static_cast<unsigned char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z')
      y = static_cast<unsigned char>(y - 'a' + 'A');
    if (x != y)
      return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Font names on this platform are UTF-8.
constexpr int kFaceCodePage = 65001;

constinit TSvDisplayFaceHook gDisplayFaceHook = nullptr;

} // namespace

void SetDisplayFaceHook(TSvDisplayFaceHook hook) {
  gDisplayFaceHook = hook;
}

TSvDisplayFaceHook DisplayFaceHook() {
  return gDisplayFaceHook;
}

// TSvFont

TSvFont::TSvFont() {
  ResetFont();
}

std::unique_ptr<TSvObject> TSvFont::CreateNew() const {
  return std::make_unique<TSvFont>();
}

void TSvFont::Assign(const TSvPersistent& source) {
  TSvXmlObject::Assign(source);
  const TSvFont& font = SvCast<TSvFont>(source);
  StoreFont(font.GetName(), font.GetSize());
}

bool TSvFont::IsEqual(const TSvObject& other) const {
  const auto* font = dynamic_cast<const TSvFont*>(&other);
  return font && GetName() == font->GetName() && FSize == font->FSize;
}

int TSvFont::Compare(const TSvObject& other) const {
  const TSvFont& font = SvCast<TSvFont>(other);
  const int byName = CompareTextAscii(WideToAnsi(GetName(), 0), WideToAnsi(font.GetName(), 0));
  if (byName != 0)
    return byName;
  if (FSize < font.FSize)
    return -1;
  return FSize > font.FSize ? 1 : 0;
}

void TSvFont::AssignFromFont(const TSvGraphicsFont& font) {
  StoreFont(AnsiToWide(font.Name, 0), font.Size);
}

void TSvFont::ResetFont() {
  StoreFont(std::u16string(), 0);
}

void TSvFont::AssignToFont(TSvGraphicsFont& font) const {
  font.Name = WideToAnsi(GetName(), 0);
  font.Size = GetIntSize();
}

TSvXmlStyle TSvFont::GetXmlStyle() const {
  return xsEmpty;
}

void TSvFont::WriteXmlAttributes(TSvXmlAttributes& attributes) const {
  attributes.SetString(u"name", GetName(), u"");
  attributes.SetFloat(u"size", FSize, 0);
}

void TSvFont::ReadXmlElement(const TSvXmlElement& element) {
  const TSvXmlAttributes& attributes = element.Attributes();
  StoreFont(attributes.GetString(u"name", u""), attributes.GetFloat(u"size", 0));
}

const std::u16string& TSvFont::GetName() const {
  ResolveName();
  return FName;
}

void TSvFont::SetName(const std::u16string& name) {
  if (name == GetName())
    return;
  FName = name;
  Changed();
}

void TSvFont::SetSize(double size) {
  if (size == FSize)
    return;
  FSize = size;
  Changed();
}

int TSvFont::GetIntSize() const {
  // nearbyint rounds ties to even in the default rounding mode; sizes that no int
  // holds are clamped rather than overflowing.
  const double rounded = std::nearbyint(FSize);
  if (std::isnan(rounded))
    return 0;
  if (rounded >= static_cast<double>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  if (rounded <= static_cast<double>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  return static_cast<int>(rounded);
}

void TSvFont::Changed() {
  if (OnChange)
    OnChange(*this);
}

void TSvFont::StoreFont(const std::u16string& name, double size) {
  DropPendingName();
  FName = name;
  FSize = size;
}

// TPurposeFont

const TSvTypeInfo& FontPurposeTypeInfo() {
  return kFontPurposeType;
}

std::span<const TFontsData> DefaultFontTable() {
  return kDefaultFontTable;
}

TPurposeFont::TPurposeFont() {
  // The fpDisplay default asks the installed fonts: it is computed when the name is
  // first read, with the same result as computing it now.
  FNamePending = true;
  SetSize(GetDefaultSize());
}

TPurposeFont::TPurposeFont(TFontPurpose purpose) : FPurpose(purpose) {}

std::unique_ptr<TSvObject> TPurposeFont::CreateNew() const {
  return std::make_unique<TPurposeFont>();
}

void TPurposeFont::Assign(const TSvPersistent& source) {
  TSvFont::Assign(source);
  const TPurposeFont& font = SvCast<TPurposeFont>(source);
  FPurpose = font.FPurpose;
  FScript = font.FScript;
}

bool TPurposeFont::IsEqual(const TSvObject& other) const {
  const auto* font = dynamic_cast<const TPurposeFont*>(&other);
  return TSvFont::IsEqual(other) && font && FPurpose == font->FPurpose && FScript == font->FScript;
}

void TPurposeFont::Clear() {
  SetName(GetDefaultName());
  SetSize(GetDefaultSize());
}

void TPurposeFont::WriteXmlAttributes(TSvXmlAttributes& attributes) const {
  attributes.SetEnum(u"purpose", &kFontPurposeType, FPurpose, fpDisplay);
  attributes.SetString(u"script", AnsiToWide(ScriptAbbreviation(FScript), 0), u"");
  TSvFont::WriteXmlAttributes(attributes);
}

void TPurposeFont::ReadXmlElement(const TSvXmlElement& element) {
  const TSvXmlAttributes& attributes = element.Attributes();
  FPurpose = attributes.GetEnum(u"purpose", kFontPurposeType, fpDisplay);
  FScript = ScriptOfAbbreviation(WideToAnsi(attributes.GetString(u"script", u""), 0), 1);
  TSvFont::ReadXmlElement(element);
}

void TPurposeFont::SetPurpose(TFontPurpose purpose) {
  // A deferred default belongs to the purpose and script it was made for.
  ResolveName();
  FPurpose = purpose;
}

void TPurposeFont::SetScript(TSvScript script) {
  ResolveName();
  FScript = script;
}

int TPurposeFont::GetCodePage() const {
  return Row().CodePage;
}

std::u16string TPurposeFont::GetDefaultName() const {
  if (FPurpose > fpUiq)
    throw ESvError("TPurposeFont.GetDefaultName for the purpose not implemented");
  const TFontsData& row = Row();
  if (FPurpose != fpDisplay)
    return AnsiToWide(row.Fonts[FPurpose].Name, 0);

  const std::string tableFace = row.Fonts[fpDisplay].Name;
  const TSvDisplayFaceHook hook = gDisplayFaceHook;
  if (!hook)
    return AnsiToWide(tableFace, 0);
  const std::u16string& current = GetName();
  const std::string currentFace = WideToAnsi(current, kFaceCodePage);
  const std::string chosen = hook(FScript, tableFace, currentFace);
  if (chosen == tableFace)
    return AnsiToWide(tableFace, 0);
  if (chosen == currentFace)
    return current;
  return AnsiToWide(chosen, kFaceCodePage);
}

double TPurposeFont::GetDefaultSize() const {
  if (FPurpose > fpUiq)
    throw ESvError("TPurposeFont.GetDefaultSize for the purpose not implemented");
  return Row().Fonts[FPurpose].Size;
}

void TPurposeFont::ResolveName() const {
  if (!FNamePending)
    return;
  // Cleared first: GetDefaultName reads the (still empty) current name.
  FNamePending = false;
  FillResolvedName(GetDefaultName());
}

const TFontsData& TPurposeFont::Row() const {
  // A script past the table has no defaults of its own: the Default row.
  return FScript < std::size(kDefaultFontTable) ? kDefaultFontTable[FScript] : kDefaultFontTable[0];
}

} // namespace sv
