#include "core/SvTypeInfo.h"

#include <string_view>

namespace sv {

namespace {

bool SameAsciiText(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'a' && x <= 'z')
      x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z')
      y = static_cast<char>(y - 'a' + 'A');
    if (x != y)
      return false;
  }
  return true;
}

bool HasIdentifier(const TSvTypeInfo& typeInfo, int value) {
  return typeInfo.Kind == tkEnumeration && value >= typeInfo.MinValue &&
         value <= typeInfo.MaxValue &&
         static_cast<std::size_t>(value - typeInfo.MinValue) < typeInfo.Identifiers.size();
}

} // namespace

std::string EnumIdentifier(const TSvTypeInfo& typeInfo, int value) {
  if (!HasIdentifier(typeInfo, value))
    return std::to_string(value);
  return typeInfo.Identifiers[static_cast<std::size_t>(value - typeInfo.MinValue)];
}

int EnumValueOf(const TSvTypeInfo& typeInfo, const std::string& text) {
  if (typeInfo.Kind != tkEnumeration)
    return -1;
  for (std::size_t i = 0; i < typeInfo.Identifiers.size(); ++i)
    if (SameAsciiText(typeInfo.Identifiers[i], text))
      return typeInfo.MinValue + static_cast<int>(i);
  return -1;
}

} // namespace sv
