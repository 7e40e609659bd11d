// The command line of the tool: switches, the file name and its resolution.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sv {

struct TSvqArguments {
  bool ShowTranslations = false;
  bool ShowUsage = false; // no file name, or a switch other than -t
  std::string FileName;   // folded to lower case, default extension added
  std::string GivenName;  // as given, default extension added
};

// ASCII letters A-Z to lower case; other bytes stay.
std::string FoldAscii(std::string text);
// "-" always starts a switch; "/" only when no other "/" follows (absolute paths).
bool IsSwitchArgument(const std::string& argument);
// Whether a "." follows the last path separator ("/", "\\" or ":").
bool HasExtension(const std::string& name);
// The name with "." and "svq" appended when it has no extension.
std::string WithDefaultExtension(const std::string& name);

// Parses the arguments after the program name. Scanning stops at the first
// switch that does not begin with "t".
TSvqArguments ParseArguments(const std::vector<std::string>& arguments);

// True for an existing ordinary file (a directory does not count).
bool IsOrdinaryFile(const std::string& path);
// The path of the dictionary: the name as given when it names an ordinary file,
// else the folded name when that does; none when neither exists.
std::optional<std::string> ResolveFile(const TSvqArguments& arguments);

} // namespace sv
