// The tool itself: banner, arguments, usage, the existence check and the report.
#pragma once

#include <exception>
#include <string>
#include <vector>

namespace sv {

// Runs the tool on the arguments after the program name; the exit code.
int RunSvqPeek(const std::vector<std::string>& arguments);
// Writes the usage block.
void ShowUsage();
// Writes the report of an error that escaped the run.
void ReportUncaughtError(std::exception_ptr error, const char* moduleName);

} // namespace sv
