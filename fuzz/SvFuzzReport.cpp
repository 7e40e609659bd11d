// The whole report of one dictionary as "SvqPeek -t" prints it (reader, language
// model, writer), the input being the file and the output kept in memory.
#include "app/SvqCommon.h"
#include "app/SvqProgram.h"
#include "app/SvqReport.h"
#include "fuzz/SvFuzzStart.h"
#include "fuzz/SvFuzzTargets.h"
#include "text/SvErrors.h"

#include <sys/mman.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace {

// One file in memory, rewritten for each input and opened by its name.
class TMemoryFile {
public:
  TMemoryFile() : FHandle(::memfd_create("svq", 0)) {
    if (FHandle < 0)
      throw std::runtime_error("memfd_create failed");
  }
  const std::string& Name() const { return FName; }
  void Write(const std::uint8_t* data, std::size_t size) {
    if (::ftruncate(FHandle, 0) != 0 ||
        ::pwrite(FHandle, data, size, 0) != static_cast<ssize_t>(size))
      throw std::runtime_error("memory file not written");
  }

private:
  int FHandle;
  std::string FName = "/proc/self/fd/" + std::to_string(FHandle);
};

} // namespace

void sv::fuzz::FuzzReport(const std::uint8_t* data, std::size_t size) {
  static TMemoryFile file;
  static std::string output;
  file.Write(data, size);
  output.clear();
  sv::SetOutputSink(&output);
  // Both forms of the texts: as written to a file, and escaped for a terminal.
  sv::SetEscapesOutput(size & 1);
  try {
    sv::WriteSvqReport(file.Name(), true);
    sv::FlushOutput();
  } catch (const sv::ESvError&) {
    // A broken file ends the report with the error report, as the tool ends its run.
    sv::FlushOutput();
    output += sv::UncaughtErrorReport(std::current_exception(), "SvqPeek");
  }
  sv::SetOutputSink(nullptr);
}
