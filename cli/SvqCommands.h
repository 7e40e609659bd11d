// The commands of svq, each in a file of its own. Each takes the arguments after
// its name and returns the exit code; faults of the command line raise ESvqUsage.
#pragma once

#include <string>
#include <vector>

namespace sv {

// svq export: a dictionary written to an open format.
int RunSvqExport(const std::vector<std::string>& args);
// svq diff [-f text|json] [-s CODE] OLD NEW
int RunSvqDiff(const std::vector<std::string>& args);
// svq stats: how far each translation of dictionaries and folders of them is.
int RunSvqStats(const std::vector<std::string>& args);

} // namespace sv
