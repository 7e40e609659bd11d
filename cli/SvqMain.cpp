// svq: exports, counts and compares the contents of SVQ dictionaries.
#include "app/SvModules.h"
#include "cli/SvqCli.h"
#include "cli/SvqTool.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
  int exitCode = sv::kSvqFailure;
  try {
    sv::TSvModules modules;
    exitCode = sv::RunSvq(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    sv::SvqMessage(e.what());
    exitCode = sv::kSvqFailure;
  }
  if (std::fflush(stdout) != 0 && exitCode == sv::kSvqOk)
    exitCode = sv::kSvqFailure;
  return exitCode;
}
