// The fuzz targets. Each takes one input and raises EFuzzProperty when a property
// fails; the sanitizers report memory and undefined behaviour. Each libFuzzer program
// runs one of them; the replay test runs the inputs kept in tests/fuzz/inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sv::fuzz {

using TFuzzTarget = void (*)(const std::uint8_t* data, std::size_t size);

void FuzzParser(const std::uint8_t* data, std::size_t size);
void FuzzLocaleCode(const std::uint8_t* data, std::size_t size);
void FuzzXmlReader(const std::uint8_t* data, std::size_t size);
void FuzzXmlWriter(const std::uint8_t* data, std::size_t size);
void FuzzLanguageXml(const std::uint8_t* data, std::size_t size);
void FuzzConvert(const std::uint8_t* data, std::size_t size);
void FuzzReport(const std::uint8_t* data, std::size_t size);

struct TFuzzTargetEntry {
  std::string_view Name; // the program's name without "sv_fuzz_"
  TFuzzTarget Run;
};

inline constexpr TFuzzTargetEntry kFuzzTargets[] = {
    {"parser", FuzzParser},        {"locale_code", FuzzLocaleCode},   {"xml_reader", FuzzXmlReader},
    {"xml_writer", FuzzXmlWriter}, {"language_xml", FuzzLanguageXml}, {"convert", FuzzConvert},
    {"report", FuzzReport},
};

} // namespace sv::fuzz
