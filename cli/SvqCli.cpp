#include "cli/SvqCli.h"

#include "app/SvqArgs.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <cstdio>
#include <unistd.h>

namespace sv {

const std::string* TSvqParsedOptions::Last(char option) const {
  for (auto it = Values.rbegin(); it != Values.rend(); ++it)
    if (it->first == option)
      return &it->second;
  return nullptr;
}

namespace {

std::string Formatted(const char* english, std::initializer_list<TSvFormatArg> args) {
  return SvFormat(SvTr(english), args);
}

} // namespace

TSvqParsedOptions ParseSvqOptions(const std::string& command, const std::vector<std::string>& args,
                                  std::span<const TSvqOption> options) {
  TSvqParsedOptions parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.Operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg[1] == '-') {
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
      if (std::string("help").starts_with(name) && !name.empty()) {
        bool other = false;
        for (const TSvqOption& option : options)
          other |= std::string(option.Long).starts_with(name);
        if (!other || name == "help") {
          parsed.Help = true;
          continue;
        }
      }
      const TSvqOption* found = nullptr;
      int matches = 0;
      for (const TSvqOption& option : options) {
        if (name == option.Long) {
          found = &option;
          matches = 1;
          break;
        }
        if (!name.empty() && std::string(option.Long).starts_with(name)) {
          found = &option;
          ++matches;
        }
      }
      if (matches == 0)
        throw ESvqUsage(command, Formatted(SvN("unrecognized option '%s'"), {arg}));
      if (matches > 1)
        throw ESvqUsage(command, Formatted(SvN("option '%s' is ambiguous"), {arg}));
      if (!found->TakesValue) {
        if (equals != std::string::npos)
          throw ESvqUsage(command, Formatted(SvN("option '--%s' doesn't allow an argument"), {found->Long}));
        parsed.Values.emplace_back(found->Short, std::string());
      } else if (equals != std::string::npos) {
        parsed.Values.emplace_back(found->Short, arg.substr(equals + 1));
      } else if (i + 1 < args.size()) {
        parsed.Values.emplace_back(found->Short, args[++i]);
      } else {
        throw ESvqUsage(command, Formatted(SvN("option '--%s' requires an argument"), {found->Long}));
      }
      continue;
    }
    // A group of short options: "-f", "-fjson", "-j2".
    for (std::size_t k = 1; k < arg.size(); ++k) {
      const char letter = arg[k];
      const TSvqOption* found = nullptr;
      for (const TSvqOption& option : options)
        if (option.Short == letter)
          found = &option;
      if (!found) {
        if (letter == 'h' && k == 1 && arg.size() == 2) {
          parsed.Help = true;
          break;
        }
        throw ESvqUsage(command, Formatted(SvN("invalid option -- '%s'"), {std::string(1, letter)}));
      }
      if (!found->TakesValue) {
        parsed.Values.emplace_back(letter, std::string());
        continue;
      }
      if (k + 1 < arg.size())
        parsed.Values.emplace_back(letter, arg.substr(k + 1));
      else if (i + 1 < args.size())
        parsed.Values.emplace_back(letter, args[++i]);
      else
        throw ESvqUsage(command, Formatted(SvN("option requires an argument -- '%s'"), {std::string(1, letter)}));
      break;
    }
  }
  return parsed;
}

void SvqMessage(std::string_view text) {
  std::string line = "svq: ";
  line += text;
  line += '\n';
  std::fflush(stdout);
  std::fwrite(line.data(), 1, line.size(), stderr);
}

std::string SvqVersionLine() {
  return std::string("svq (SvqPeek) ") + SV_VERSION;
}

std::string ResolveDictionaryName(const std::string& name) {
  TSvqArguments arguments;
  arguments.GivenName = WithDefaultExtension(name);
  arguments.FileName = WithDefaultExtension(FoldAscii(name));
  const auto path = ResolveFile(arguments);
  return path ? *path : arguments.GivenName;
}

bool IsTerminal(int descriptor) {
  return ::isatty(descriptor) == 1;
}

} // namespace sv
