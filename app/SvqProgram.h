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
// The report of an error that escaped the run: type name, module, the code address
// where it arose, and the message with a full stop added when it lacks one.
// escape: the message as a terminal may show it (EscapeControls); the layout stays.
std::string UncaughtErrorReport(std::exception_ptr error, const char* moduleName,
                                bool escape = false);
// Writes the report after the lines written so far and flushes standard output.
void ReportUncaughtError(std::exception_ptr error, const char* moduleName);

} // namespace sv
