#include "graphics/SvGraphicsModules.h"

#include "graphics/TextRenderer.h"
#include "language/SvFont.h"

namespace sv {

namespace {

// The installed faces of the standard renderer decide; a face is matched without
// regard to case and answered as the caller spelled it.
std::string ChooseDisplayFace(TSvScript script, const std::string& tableFace,
                              const std::string& currentFace) {
  TSvFontFaces faces;
  if (TStandardTextRenderer* renderer = StandardTextRenderer())
    renderer->GetFonts(faces, TSvScriptSet().set(script));
  if (IndexOfFace(faces, tableFace) >= 0)
    return tableFace;
  if (IndexOfFace(faces, currentFace) >= 0)
    return currentFace;
  return faces.empty() ? std::string() : faces.front().Name;
}

void StartFontHook() {
  SetDisplayFaceHook(ChooseDisplayFace);
}

void FinishFontHook() {
  SetDisplayFaceHook(nullptr);
}

constexpr TSvModuleStep kGraphicsSteps[] = {
    // The standard text renderer and the renderer list; no font is looked at yet.
    {StartTextRenderers, FinishTextRenderers},
    {StartFontHook, FinishFontHook},
};

} // namespace

std::span<const TSvModuleStep> GraphicsModuleSteps() {
  return kGraphicsSteps;
}

} // namespace sv
