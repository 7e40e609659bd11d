// Where an export goes: standard output, a string, or a file that appears only
// when it is complete. Writers fill a TSvExportBuffer, which hands full blocks on.
#pragma once

#include <string>
#include <string_view>

namespace sv {

class TSvExportSink {
public:
  virtual ~TSvExportSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

class TSvExportStringSink : public TSvExportSink {
public:
  void Write(std::string_view bytes) override { Text.append(bytes); }
  std::string Text;
};

// Writes to a file descriptor it does not own (standard output); ESvError
// "Cannot write to NAME: REASON" when a write fails.
class TSvDescriptorSink : public TSvExportSink {
public:
  TSvDescriptorSink(int descriptor, std::string name)
      : FDescriptor(descriptor), FName(std::move(name)) {}
  void Write(std::string_view bytes) override;

private:
  int FDescriptor;
  std::string FName;
};

// A file written under a temporary name in its own folder and renamed to its
// name by Commit; without Commit the temporary file is removed, so no half-written
// file is ever left under the name. ESvError "Cannot create NAME: REASON".
class TSvAtomicFileSink : public TSvExportSink {
public:
  explicit TSvAtomicFileSink(std::string path);
  ~TSvAtomicFileSink() override;
  TSvAtomicFileSink(const TSvAtomicFileSink&) = delete;
  TSvAtomicFileSink& operator=(const TSvAtomicFileSink&) = delete;
  void Write(std::string_view bytes) override;
  void Commit();

private:
  std::string FPath;
  std::string FTempPath;
  int FDescriptor = -1;
};

// The buffer a writer appends to; Flush hands what it holds to the sink, and
// Spill does so only once the buffer holds a block.
class TSvExportBuffer {
public:
  static constexpr std::size_t kBlock = 64 * 1024;
  explicit TSvExportBuffer(TSvExportSink& sink) : FSink(sink) { FText.reserve(2 * kBlock); }
  ~TSvExportBuffer() = default;
  std::string& Text() { return FText; }
  void Spill() {
    if (FText.size() >= kBlock)
      Flush();
  }
  void Flush() {
    FSink.Write(FText);
    FText.clear();
  }

private:
  TSvExportSink& FSink;
  std::string FText;
};

// Makes the folder and its parents when missing; ESvError "Cannot create NAME: REASON".
void MakeFolders(const std::string& path);

} // namespace sv
