// The libFuzzer entry of one target, chosen by SV_FUZZ_TARGET at build time.
#include "fuzz/SvFuzzStart.h"
#include "fuzz/SvFuzzTargets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sv::fuzz::StartModules();
  try {
    sv::fuzz::SV_FUZZ_TARGET(data, size);
  } catch (const sv::fuzz::EFuzzProperty& e) {
    std::fprintf(stderr, "fuzz property violated: %s\n", e.what());
    std::abort();
  }
  return 0;
}
