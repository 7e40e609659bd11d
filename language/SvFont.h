// TSvFont, a persistent font description (face name and point size), and
// TPurposeFont, a font for a purpose and a script with defaults from a built-in table.
#pragma once

#include "locale/SvLocaleTables.h"
#include "xml/SvXmlObject.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace sv {

// A font of the graphics layer: face name (UTF-8) and point size. The canvas of
// graphics/ draws in it; TSvFont copies to and from it.
struct TSvGraphicsFont {
  std::string Name;
  int Size = 0;
};

// A notification that receives the object that sent it; may be empty.
using TSvNotifyEvent = std::function<void(TSvObject& sender)>;

class TSvFont : public TSvXmlObject {
public:
  TSvFont();

  std::unique_ptr<TSvObject> CreateNew() const override;
  // Source must be a TSvFont; name and size are copied, OnChange is not.
  void Assign(const TSvPersistent& source) override;
  // Other is a TSvFont with exactly the same name and the same size.
  bool IsEqual(const TSvObject& other) const override;
  // Names in the system code page without regard to case, then sizes. Other must be
  // a TSvFont.
  int Compare(const TSvObject& other) const override;

  // Name and size of a graphics font, without notification.
  virtual void AssignFromFont(const TSvGraphicsFont& font);
  // Empty name, size 0, without notification.
  virtual void ResetFont();
  // Sets the graphics font's name and its size (GetIntSize).
  virtual void AssignToFont(TSvGraphicsFont& font) const;

  TSvXmlStyle GetXmlStyle() const override;
  // "name" (default empty) and "size" (default 0).
  void WriteXmlAttributes(TSvXmlAttributes& attributes) const override;
  // Stores "name" and "size" without notification.
  void ReadXmlElement(const TSvXmlElement& element) override;

  const std::u16string& GetName() const;
  // Stores and notifies when name differs.
  void SetName(const std::u16string& name);
  double GetSize() const { return FSize; }
  // Stores and notifies when size differs; 0 means not set.
  void SetSize(double size);
  // The size rounded to the nearest integer, ties to even.
  int GetIntSize() const;

  // Fired by SetName and SetSize on a change.
  TSvNotifyEvent OnChange;

protected:
  TSvFont(const TSvFont&) = default;

  void Changed();
  // Stores name and size as they are, without notification.
  void StoreFont(const std::u16string& name, double size);
  // A subclass may leave its name to be computed when it is first read; this fills
  // it in then.
  virtual void ResolveName() const {}
  // Fills the name that ResolveName computed.
  void FillResolvedName(std::u16string name) const { FName = std::move(name); }
  // Forgets a name that was still to be computed: a stored one replaces it.
  virtual void DropPendingName() {}

private:
  mutable std::u16string FName; // mutable only for a deferred default, see ResolveName
  double FSize = 0;
};

// What a font is for; the names are also its XML values.
enum TFontPurpose : std::uint8_t {
  fpDisplay,
  fpWindows,
  fpCe,
  fpNet,
  fpNetVcl,
  fpVcl,
  fpPalm,
  fpSeries60,
  fpSeries80,
  fpSeries90,
  fpUiq
};

// The type information of TFontPurpose, for its XML values.
const TSvTypeInfo& FontPurposeTypeInfo();

struct TFontData {
  const char* Name; // default face, empty for none
  std::int32_t Size;
};

struct TFontsData {
  TSvScript Script;
  std::int32_t CodePage; // the script's ANSI code page; 0 for none
  TFontData Fonts[fpUiq + 1];
};

// The default fonts, one row per script in the order of ScriptTable.
std::span<const TFontsData> DefaultFontTable();

// Chooses the fpDisplay face of script among the installed fonts, names in UTF-8:
// tableFace when installed for the script, else currentFace when installed, else the
// first installed face for the script, else empty.
using TSvDisplayFaceHook = std::string (*)(TSvScript script, const std::string& tableFace,
                                           const std::string& currentFace);
// The language model knows no font list of its own: the graphics library
// (graphics/SvGraphicsModules.h) fills the hook when its module steps start and
// empties it when they finish. A program without them gets the table's faces.
void SetDisplayFaceHook(TSvDisplayFaceHook hook);
TSvDisplayFaceHook DisplayFaceHook();

class TPurposeFont : public TSvFont {
public:
  // Purpose fpDisplay, script 1, the default name and size. The name, whose choice
  // asks the installed fonts, is computed when it is first read.
  TPurposeFont();
  // A font for purpose that stands for the purpose's defaults: script 1, empty name,
  // size 0. Nothing is computed.
  explicit TPurposeFont(TFontPurpose purpose);

  std::unique_ptr<TSvObject> CreateNew() const override;
  // Source must be a TPurposeFont; the font, purpose and script are copied.
  void Assign(const TSvPersistent& source) override;
  // TSvFont's IsEqual, other is a TPurposeFont, same purpose and script.
  bool IsEqual(const TSvObject& other) const override;
  // Name and size := the defaults of purpose and script.
  void Clear() override;

  // "purpose", "script", then "name" and "size".
  void WriteXmlAttributes(TSvXmlAttributes& attributes) const override;
  void ReadXmlElement(const TSvXmlElement& element) override;

  TFontPurpose GetPurpose() const { return FPurpose; }
  void SetPurpose(TFontPurpose purpose);
  TSvScript GetScript() const { return FScript; }
  void SetScript(TSvScript script);

  // The code page of the script's row of the default font table.
  int GetCodePage() const;
  // fpDisplay: the table's face when it is installed for the script, else the current
  // name when installed, else the first installed face for the script (empty when
  // there is none); the installed fonts are asked through the display face hook, and
  // without a hook the answer is the table's face. Other purposes: the table's face.
  // ESvError past fpUiq.
  std::u16string GetDefaultName() const;
  // The table's size for purpose and script; ESvError past fpUiq.
  double GetDefaultSize() const;

protected:
  TPurposeFont(const TPurposeFont&) = default;

  void ResolveName() const override;
  void DropPendingName() override { FNamePending = false; }

private:
  const TFontsData& Row() const;

  TFontPurpose FPurpose = fpDisplay;
  TSvScript FScript = 1;
  mutable bool FNamePending = false; // the default name is still to be computed
};

} // namespace sv
