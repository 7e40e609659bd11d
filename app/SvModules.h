// Start and end of the modules that hold state. The one TSvModules object is made
// first in main (and in each test program); it starts the modules in their order
// of dependency and finishes them in reverse when it goes.
#pragma once

namespace sv {

class TSvModules {
public:
  TSvModules();
  ~TSvModules();
  TSvModules(const TSvModules&) = delete;
  TSvModules& operator=(const TSvModules&) = delete;

private:
  int FStarted = 0; // how many steps of the start ran, so that only those finish
};

} // namespace sv
