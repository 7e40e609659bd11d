// Test programs start the modules as the tool does, and those of the graphics
// library, which the tests of fonts and renderers use.
#include "app/SvModules.h"
#include "graphics/SvGraphicsModules.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  sv::TSvModules modules(sv::GraphicsModuleSteps());
  return RUN_ALL_TESTS();
}
