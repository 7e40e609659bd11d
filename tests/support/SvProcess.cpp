#include "tests/support/SvProcess.h"

#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace sv::test {

TSvProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& directory,
                            const std::vector<std::string>& environment) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0)
    throw std::runtime_error("pipe failed");
  const pid_t pid = ::fork();
  if (pid < 0)
    throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::dup2(pipeFds[1], STDOUT_FILENO);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    if (!directory.empty() && ::chdir(directory.c_str()) != 0)
      ::_exit(126);
    for (const std::string& entry : environment)
      ::putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execve(program.c_str(), argv.data(), environ);
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  TSvProcessResult result;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
    result.Output.append(buffer, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TSvTempDir::TSvTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "svqtest-XXXXXX").string();
  if (!::mkdtemp(pattern.data()))
    throw std::runtime_error("mkdtemp failed");
  FPath = pattern;
}

TSvTempDir::~TSvTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

} // namespace sv::test
