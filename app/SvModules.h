// Start and end of the modules that hold state. The one TSvModules object is made
// first in main (and in each test program); it starts the modules in their order
// of dependency and finishes them in reverse when it goes. A start that throws
// finishes the modules already started before the error leaves.
#pragma once

#include "text/SvModuleRun.h"

#include <span>

namespace sv {

class TSvModules {
public:
  // The modules of the libraries below the tool, then extra: the steps of a library
  // above them that the program links, such as GraphicsModuleSteps() of graphics/.
  explicit TSvModules(std::span<const TSvModuleStep> extra = {});
  TSvModules(const TSvModules&) = delete;
  TSvModules& operator=(const TSvModules&) = delete;

private:
  TSvModuleRun FRun;
};

} // namespace sv
