// The svq program: a command with subcommands (export, and the others that the
// command table lists). RunSvq is the whole program but the module start.
#pragma once

#include <string>
#include <vector>

namespace sv {

struct TSvqCommand {
  const char* Name;
  const char* Summary; // localizable, one line
  int (*Run)(const std::vector<std::string>& args);
};

// Runs svq with the arguments after the program name; the exit code. Usage faults
// are reported here (exit 2); a command's other errors are its own to report.
int RunSvq(const std::vector<std::string>& args);

} // namespace sv
