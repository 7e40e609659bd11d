// What every fuzz target shares: the modules started once as the tool starts them,
// the property failure, and a reader of typed values from the input bytes.
#pragma once

#include "app/SvModules.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace sv::fuzz {

inline void StartModules() {
  // Kept until the process ends: libFuzzer never returns from its loop.
  static TSvModules* modules = new TSvModules;
  (void)modules;
}

// A property of a target that the input violated. The fuzzer's main reports it as a
// crash so that libFuzzer keeps the input; the replay test reports it as a failure.
class EFuzzProperty : public std::logic_error {
public:
  using std::logic_error::logic_error;
};

[[noreturn]] inline void Fail(const std::string& what) {
  throw EFuzzProperty(what);
}

// Values taken from the front of the input; past its end, zeros and empty text.
class TFuzzInput {
public:
  TFuzzInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

  std::size_t Remaining() const { return FSize; }
  template <typename T> T Take() {
    T value{};
    const std::size_t n = sizeof(T) < FSize ? sizeof(T) : FSize;
    std::memcpy(&value, FData, n);
    Skip(n);
    return value;
  }
  // A number in [0, count).
  std::size_t TakeIndex(std::size_t count) { return count ? Take<std::uint16_t>() % count : 0; }
  // Up to maxLength UTF-16 code units, the length taken first.
  std::u16string TakeWide(std::size_t maxLength) {
    std::size_t length = Take<std::uint8_t>() % (maxLength + 1);
    if (length > FSize / 2)
      length = FSize / 2;
    std::u16string text(length, u'\0');
    for (char16_t& unit : text)
      unit = Take<std::uint16_t>();
    return text;
  }
  // The rest of the input.
  std::string TakeRest() {
    std::string rest(reinterpret_cast<const char*>(FData), FSize);
    Skip(FSize);
    return rest;
  }

private:
  void Skip(std::size_t n) {
    FData += n;
    FSize -= n;
  }
  const std::uint8_t* FData;
  std::size_t FSize;
};

} // namespace sv::fuzz
