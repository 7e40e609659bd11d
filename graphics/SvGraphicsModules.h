// The module steps of the graphics library. A program that links it passes them to
// its module start after the steps of the libraries below:
//   sv::TSvModules modules(sv::GraphicsModuleSteps());
// They make the standard text renderer and the renderer list, and fill the language
// model's display face hook so that TPurposeFont asks the installed fonts.
#pragma once

#include "text/SvModuleRun.h"

#include <span>

namespace sv {

std::span<const TSvModuleStep> GraphicsModuleSteps();

} // namespace sv
