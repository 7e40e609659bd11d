// What the commands of svq share: option parsing in the GNU style, messages on
// standard error, usage faults (exit 2) and the resolution of a dictionary name.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sv {

// Exit codes of svq.
inline constexpr int kSvqOk = 0;
inline constexpr int kSvqFailure = 1; // a broken dictionary, a file not written
inline constexpr int kSvqUsage = 2;

// A fault in the command line. main writes "svq: MESSAGE" and the hint
// "Try 'svq COMMAND --help' for more information." and ends with exit code 2.
class ESvqUsage : public std::runtime_error {
public:
  ESvqUsage(std::string command, const std::string& message)
      : std::runtime_error(message), Command(std::move(command)) {}
  std::string Command; // empty: svq itself
};

struct TSvqOption {
  char Short;       // the letter of "-f"
  const char* Long; // "format" of "--format"
  bool TakesValue;
};

struct TSvqParsedOptions {
  std::vector<std::pair<char, std::string>> Values; // in the order given
  std::vector<std::string> Operands;
  bool Help = false;

  // The last value given for the option, or none.
  const std::string* Last(char option) const;
};

// Parses args in the GNU style: "-f X", "-fX", "--format X", "--format=X", a
// unique prefix of a long name, "--" ending the options, operands anywhere.
// "--help" is recognised for every command. Faults raise ESvqUsage.
TSvqParsedOptions ParseSvqOptions(const std::string& command, const std::vector<std::string>& args,
                                  std::span<const TSvqOption> options);

// "svq: TEXT" and a line break on standard error.
void SvqMessage(std::string_view text);
// The program's version line: "svq (SvqPeek) 1.0.0".
std::string SvqVersionLine();

// The path of a dictionary named on the command line, as SvqPeek resolves its
// argument (".svq" added to a name without extension); the name with the extension
// when no such file exists, so that opening it reports the fault.
std::string ResolveDictionaryName(const std::string& name);

// Whether standard error (2) or standard output (1) is a terminal.
bool IsTerminal(int descriptor);

} // namespace sv
