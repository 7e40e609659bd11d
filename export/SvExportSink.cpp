#include "export/SvExportSink.h"

#include "text/SvErrors.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sv {

namespace {

[[noreturn]] void Raise(const char* what, const std::string& name, int error) {
  throw ESvError(std::string(what) + " " + name + ": " + std::strerror(error));
}

void WriteAll(int descriptor, std::string_view bytes, const std::string& name) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(descriptor, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR)
        continue;
      Raise("Cannot write to", name, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

} // namespace

void TSvDescriptorSink::Write(std::string_view bytes) {
  WriteAll(FDescriptor, bytes, FName);
}

TSvAtomicFileSink::TSvAtomicFileSink(std::string path) : FPath(std::move(path)) {
  FTempPath = FPath + ".XXXXXX";
  FDescriptor = ::mkstemp(FTempPath.data());
  if (FDescriptor < 0)
    Raise("Cannot create", FPath, errno);
  // mkstemp makes the file private; give it the permissions of a new file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(FDescriptor, 0666 & ~mask);
}

TSvAtomicFileSink::~TSvAtomicFileSink() {
  if (FDescriptor >= 0) {
    ::close(FDescriptor);
    ::unlink(FTempPath.c_str());
  }
}

void TSvAtomicFileSink::Write(std::string_view bytes) {
  WriteAll(FDescriptor, bytes, FPath);
}

void TSvAtomicFileSink::Commit() {
  const int descriptor = FDescriptor;
  FDescriptor = -1;
  if (::close(descriptor) != 0) {
    const int error = errno;
    ::unlink(FTempPath.c_str());
    Raise("Cannot write to", FPath, error);
  }
  if (::rename(FTempPath.c_str(), FPath.c_str()) != 0) {
    const int error = errno;
    ::unlink(FTempPath.c_str());
    Raise("Cannot create", FPath, error);
  }
}

void MakeFolders(const std::string& path) {
  for (std::size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/')
      continue;
    const std::string part = path.substr(0, i);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
      Raise("Cannot create", path, errno);
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    Raise("Cannot create", path, ENOTDIR);
}

} // namespace sv
