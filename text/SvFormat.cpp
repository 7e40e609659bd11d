#include "text/SvFormat.h"

#include "text/SvErrors.h"

#include <cstdio>
#include <vector>

namespace sv {

namespace {

[[noreturn]] void FormatError(std::string_view format) {
  throw ESvConvertError("Format '" + std::string(format) +
                        "' invalid or incompatible with argument");
}

void Pad(std::string& out, std::string_view text, int width, bool left) {
  const std::size_t pad = width > 0 && static_cast<std::size_t>(width) > text.size()
                              ? static_cast<std::size_t>(width) - text.size()
                              : 0;
  if (!left)
    out.append(pad, ' ');
  out.append(text);
  if (left)
    out.append(pad, ' ');
}

} // namespace

std::string SvFormat(std::string_view format, std::initializer_list<TSvFormatArg> args) {
  const std::vector<TSvFormatArg> list(args);
  std::string out;
  out.reserve(format.size() + 16 * list.size());
  std::size_t next = 0;
  std::size_t i = 0;
  while (i < format.size()) {
    const char c = format[i++];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (i < format.size() && format[i] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    // [index:] [-] [width] type
    std::size_t number = 0;
    bool haveNumber = false;
    std::size_t j = i;
    while (j < format.size() && format[j] >= '0' && format[j] <= '9') {
      number = number * 10 + static_cast<std::size_t>(format[j] - '0');
      haveNumber = true;
      ++j;
    }
    if (haveNumber && j < format.size() && format[j] == ':') {
      next = number;
      i = j + 1;
    }
    bool left = false;
    if (i < format.size() && format[i] == '-') {
      left = true;
      ++i;
    }
    int width = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9')
      width = width * 10 + (format[i++] - '0');
    if (i >= format.size() || next >= list.size())
      FormatError(format);
    const char type = format[i++];
    const auto& value = list[next++].Value();
    char buffer[32];
    switch (type) {
    case 'd':
    case 'u':
    case 'x':
    case 'X': {
      const auto* n = std::get_if<std::int64_t>(&value);
      if (!n)
        FormatError(format);
      if (type == 'd' || type == 'u')
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(*n));
      else
        std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(*n));
      Pad(out, buffer, width, left);
      break;
    }
    case 's': {
      const auto* s = std::get_if<std::string_view>(&value);
      if (!s)
        FormatError(format);
      Pad(out, *s, width, left);
      break;
    }
    case 'p': {
      const auto* p = std::get_if<const void*>(&value);
      if (!p)
        FormatError(format);
      std::snprintf(buffer, sizeof buffer, "%016llX",
                    static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(*p)));
      Pad(out, buffer, width, left);
      break;
    }
    default:
      FormatError(format);
    }
  }
  return out;
}

} // namespace sv
