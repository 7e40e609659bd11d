// Module steps: a start and a finish of a module that holds process-wide state, and
// a run of such steps that starts them in order and finishes them in reverse.
#pragma once

#include <span>
#include <vector>

namespace sv {

struct TSvModuleStep {
  void (*Start)();
  void (*Finish)(); // may be null
};

// Starts the steps in order when made and finishes the started ones in reverse when
// it goes. A start that throws finishes the steps started before it, in reverse,
// before the error leaves the constructor.
class TSvModuleRun {
public:
  explicit TSvModuleRun(std::vector<TSvModuleStep> steps);
  ~TSvModuleRun();
  TSvModuleRun(const TSvModuleRun&) = delete;
  TSvModuleRun& operator=(const TSvModuleRun&) = delete;

private:
  void FinishStarted() noexcept;

  std::vector<TSvModuleStep> FSteps;
  std::size_t FStarted = 0; // how many steps started, so that only those finish
};

} // namespace sv
