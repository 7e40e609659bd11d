// Test programs start the modules exactly as the tool does.
#include "app/SvModules.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  sv::TSvModules modules;
  return RUN_ALL_TESTS();
}
