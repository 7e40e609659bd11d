#include "text/SvModuleRun.h"

#include <utility>

namespace sv {

TSvModuleRun::TSvModuleRun(std::vector<TSvModuleStep> steps) : FSteps(std::move(steps)) {
  try {
    for (const TSvModuleStep& step : FSteps) {
      step.Start();
      ++FStarted;
    }
  } catch (...) {
    FinishStarted();
    throw;
  }
}

TSvModuleRun::~TSvModuleRun() {
  FinishStarted();
}

void TSvModuleRun::FinishStarted() noexcept {
  while (FStarted > 0) {
    const TSvModuleStep& step = FSteps[--FStarted];
    if (step.Finish)
      step.Finish();
  }
}

} // namespace sv
