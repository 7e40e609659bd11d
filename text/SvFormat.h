// General formatting with the directives of the library's message texts:
// %d (integer), %u, %x (hexadecimal), %s (text), %p (address) and %%; a directive
// may name its argument by index ("%1:s") and carry a width ("%4d", "%-4s").
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace sv {

class TSvFormatArg {
public:
  TSvFormatArg(int v) : FValue(std::int64_t{v}) {}
  TSvFormatArg(unsigned v) : FValue(std::int64_t{v}) {}
  TSvFormatArg(long v) : FValue(std::int64_t{v}) {}
  TSvFormatArg(unsigned long v) : FValue(static_cast<std::int64_t>(v)) {}
  TSvFormatArg(long long v) : FValue(std::int64_t{v}) {}
  TSvFormatArg(const char* v) : FValue(std::string_view(v)) {}
  TSvFormatArg(std::string_view v) : FValue(v) {}
  TSvFormatArg(const std::string& v) : FValue(std::string_view(v)) {}
  TSvFormatArg(const void* v) : FValue(v) {}

  const std::variant<std::int64_t, std::string_view, const void*>& Value() const { return FValue; }

private:
  std::variant<std::int64_t, std::string_view, const void*> FValue;
};

// Formats args into format. A directive without a matching argument, or of the
// wrong kind for it, raises ESvConvertError with the format in the message.
std::string SvFormat(std::string_view format, std::initializer_list<TSvFormatArg> args);

} // namespace sv
