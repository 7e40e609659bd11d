// Hostile counts: a file of n bytes cannot make the tool hold more than 64 MiB + 4n.
// Every operator new of this program is counted; the peak of the bytes held during
// one run of the tool is compared with the bound.
#include "app/SvqCommon.h"
#include "app/SvqProgram.h"
#include "tests/support/SvProcess.h"
#include "tests/support/SvqTestWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <new>

namespace {

std::atomic<std::size_t> gHeld{0};
std::atomic<std::size_t> gPeak{0};
constexpr std::size_t kHeader = 16; // keeps the alignment of new

void* Allocate(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block)
    return nullptr;
  *reinterpret_cast<std::size_t*>(block) = size;
  const std::size_t held = gHeld += size;
  std::size_t peak = gPeak.load();
  while (held > peak && !gPeak.compare_exchange_weak(peak, held)) {
  }
  return block + kHeader;
}

void Release(void* pointer) {
  if (!pointer)
    return;
  auto* block = static_cast<unsigned char*>(pointer) - kHeader;
  gHeld -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
  if (void* p = Allocate(size))
    return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete[](void* p) noexcept {
  Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
  Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  Release(p);
}

namespace {

// The most the run held over what was held before it; output gets what it wrote.
std::size_t PeakOfRun(const std::string& fileName, std::string& output) {
  sv::SetOutputSink(&output);
  const std::size_t before = gHeld.load();
  gPeak = before;
  try {
    sv::RunSvqPeek({"-t", fileName});
  } catch (const std::exception&) {
    // a broken file ends the run with its error
  }
  sv::FlushOutput();
  const std::size_t peak = gPeak.load() - before;
  sv::SetOutputSink(nullptr);
  return peak;
}

} // namespace

TEST(SvqMemory, MaximumCountsInAHundredBytes) {
  const sv::test::TSvTempDir dir;
  constexpr std::size_t kSize = 100;
  constexpr std::size_t kBound = 64 * 1024 * 1024 + 4 * kSize;
  int files = 0;
  for (std::uint8_t version = 1; version <= 3; ++version)
    for (std::uint8_t charset = 0; charset <= 1; ++charset)
      for (std::uint8_t context = 0; context <= 1; ++context) {
        sv::test::TSvqTestFile file;
        file.Version = version;
        file.CharacterSet = charset;
        file.Byte5InVersion1 = charset;
        file.ContextKind = context;
        file.Languages.resize(1);
        file.Languages[0].RecordLength = 0xFFFF;
        file.Rows.push_back({{u"x"}, u"f", u"c"});
        file.LanguageCount = 0xFFFF;
        file.RowCount = 0xFFFF;
        file.LocaleCount = 0xFFFF;
        file.TruncateTo = kSize;
        const std::string name = dir.File("max" + std::to_string(++files) + ".svq");
        file.Save(name);
        SCOPED_TRACE(name);
        std::string output;
        const std::size_t peak = PeakOfRun(name, output);
        EXPECT_LT(peak, kBound);
        // The run got as far as the reader, whose buffer (4 KiB for a small file) is counted.
        EXPECT_NE(output.find("Version: " + std::to_string(version)), std::string::npos) << output;
        EXPECT_GE(peak, 4u * 1024);
      }
  // Every count and string length at its maximum: the header, then 0xFF bytes that
  // the first language record reads as lengths of 65535 (the open fails on them).
  std::string bytes(kSize, '\xFF');
  bytes.replace(0, 8, "SVQ\x03\x01\x00\x01\x00", 8);
  const std::uint8_t offsets[] = {14, 42, 0, 0, 0, 20, 42, 0, 0, 0, 32, 42, 0, 0, 0};
  for (std::size_t i = 0; i < sizeof offsets; i += 5)
    for (int k = 0; k < 4; ++k)
      bytes[offsets[i] + k] = static_cast<char>(offsets[i + 1 + k]);
  const std::string name = dir.File("counts.svq");
  std::ofstream(name, std::ios::binary) << bytes;
  std::string output;
  const std::size_t peak = PeakOfRun(name, output);
  EXPECT_LT(peak, kBound);
  EXPECT_GE(peak, 4u * 1024);
}
