// Runs a program and captures its standard output and exit code.
#pragma once

#include <string>
#include <vector>

namespace sv::test {

struct TSvProcessResult {
  std::string Output;
  int ExitCode = -1;
};

// Runs program with arguments in directory (when not empty), with extra environment
// entries "NAME=value" added to the current environment.
TSvProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& directory = {},
                            const std::vector<std::string>& environment = {});

// A fresh, empty directory under the system's temporary folder, removed by the destructor.
class TSvTempDir {
public:
  TSvTempDir();
  ~TSvTempDir();
  TSvTempDir(const TSvTempDir&) = delete;
  TSvTempDir& operator=(const TSvTempDir&) = delete;
  const std::string& Path() const { return FPath; }
  std::string File(const std::string& name) const { return FPath + "/" + name; }

private:
  std::string FPath;
};

} // namespace sv::test
