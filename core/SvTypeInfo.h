// A small record of type information for enumerations, so that their values can
// be stored under their identifiers.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace sv {

enum TSvTypeKind : std::uint8_t { tkInteger, tkEnumeration, tkFloat, tkString };

struct TSvTypeInfo {
  const char* Name;
  TSvTypeKind Kind;
  // The identifiers of MinValue, MinValue + 1 ... MaxValue (enumerations only).
  std::span<const char* const> Identifiers;
  int MinValue;
  int MaxValue;
};

// The type information of an enumeration whose values run from 0 in the order of
// identifiers.
template <std::size_t N>
constexpr TSvTypeInfo SvEnumTypeInfo(const char* name, const char* const (&identifiers)[N]) {
  return TSvTypeInfo{name, tkEnumeration, std::span<const char* const>(identifiers), 0,
                     static_cast<int>(N) - 1};
}

// The identifier of value; the decimal ordinal when value is outside the range or
// the type is no enumeration.
std::string EnumIdentifier(const TSvTypeInfo& typeInfo, int value);
// The value whose identifier is text, compared without regard to ASCII case; -1 when
// none has it.
int EnumValueOf(const TSvTypeInfo& typeInfo, const std::string& text);

} // namespace sv
