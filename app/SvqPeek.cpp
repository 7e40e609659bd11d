// SvqPeek: prints a fixed report of one SVQ dictionary file.
#include "app/SvModules.h"
#include "app/SvqCommon.h"
#include "app/SvqProgram.h"

#include <cerrno>
#include <exception>

int main(int argc, char** argv) {
  const char* moduleName = program_invocation_short_name;
  int exitCode = 1;
  try {
    sv::TSvModules modules;
    exitCode = sv::RunSvqPeek(std::vector<std::string>(argv + 1, argv + argc));
  } catch (...) {
    sv::ReportUncaughtError(std::current_exception(), moduleName);
    return 1;
  }
  sv::FlushOutput();
  return exitCode;
}
