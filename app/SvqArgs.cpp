#include "app/SvqArgs.h"

#include <sys/stat.h>

namespace sv {

std::string FoldAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool IsSwitchArgument(const std::string& argument) {
  if (argument.empty())
    return false;
  if (argument[0] == '-')
    return true;
  return argument[0] == '/' && argument.find('/', 1) == std::string::npos;
}

bool HasExtension(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos)
    return false;
  const auto separator = name.find_last_of("/\\:");
  return separator == std::string::npos || dot > separator;
}

std::string WithDefaultExtension(const std::string& name) {
  return HasExtension(name) ? name : name + ".svq";
}

TSvqArguments ParseArguments(const std::vector<std::string>& arguments) {
  TSvqArguments result;
  std::string given;
  for (const std::string& argument : arguments) {
    if (argument.empty())
      continue;
    const std::string folded = FoldAscii(argument);
    if (IsSwitchArgument(folded)) {
      if (folded.size() > 1 && folded[1] == 't') {
        result.ShowTranslations = true;
        continue;
      }
      result.ShowUsage = true;
      return result;
    }
    given = argument;
    result.FileName = folded;
  }
  if (result.FileName.empty()) {
    result.ShowUsage = true;
    return result;
  }
  result.FileName = WithDefaultExtension(result.FileName);
  result.GivenName = WithDefaultExtension(given);
  return result;
}

bool IsOrdinaryFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> ResolveFile(const TSvqArguments& arguments) {
  if (IsOrdinaryFile(arguments.GivenName))
    return arguments.GivenName;
  if (IsOrdinaryFile(arguments.FileName))
    return arguments.FileName;
  return std::nullopt;
}

} // namespace sv
