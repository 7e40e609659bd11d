// Starts the installed library with its graphics part and names the text renderers:
// svq_graphics_consumer
#include "app/SvModules.h"
#include "graphics/SvGraphicsModules.h"
#include "graphics/TextRenderer.h"

#include <cstdio>

int main() {
  sv::TSvModules modules(sv::GraphicsModuleSteps());
  const sv::TTextRenderers* renderers = sv::TextRenderers();
  std::printf("Renderers: %d\n", renderers ? renderers->Count() : 0);
  for (int i = 0; renderers && i < renderers->Count(); ++i)
    std::printf("#%d: %s\n", i, renderers->Items(i)->GetName().c_str());
  return 0;
}
