// Every input in tests/fuzz/inputs, named "<target>-<what it found>", runs through its
// fuzz target: no property may fail, no error escape (and, in the sanitizer build,
// no memory or undefined-behaviour report arise).
#include "fuzz/SvFuzzStart.h"
#include "fuzz/SvFuzzTargets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

const sv::fuzz::TFuzzTargetEntry* TargetOf(const std::string& fileName) {
  for (const auto& entry : sv::fuzz::kFuzzTargets)
    if (fileName.size() > entry.Name.size() && fileName.starts_with(entry.Name) &&
        fileName[entry.Name.size()] == '-')
      return &entry;
  return nullptr;
}

} // namespace

TEST(SvFuzzReplay, KeptInputsPassTheirTargets) {
  int replayed = 0;
  for (const auto& file : fs::directory_iterator(SV_FUZZ_INPUTS)) {
    const std::string name = file.path().filename().string();
    SCOPED_TRACE(name);
    const auto* target = TargetOf(name);
    ASSERT_NE(target, nullptr) << "no fuzz target of that name";
    std::ifstream in(file.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    try {
      target->Run(bytes.data(), bytes.size());
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
    }
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}
