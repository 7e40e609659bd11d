#include "cli/SvqTool.h"

#include "cli/SvqCli.h"
#include "cli/SvqCommands.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <cstdio>
#include <span>

namespace sv {

namespace {

// The commands, in the order --help lists them.
const TSvqCommand kCommands[] = {
    {"export", SvN("write a dictionary as TMX, XLIFF, PO, CSV or JSON"), RunSvqExport},
    {"stats", SvN("show how far each translation of dictionaries is"), RunSvqStats},
    {"diff", SvN("compare two dictionaries: languages, header, rows"), RunSvqDiff},
    {nullptr, nullptr, nullptr},
};

std::span<const TSvqCommand> Commands() {
  std::span<const TSvqCommand> all(kCommands);
  return all.first(all.size() - 1); // without the closing row
}

void ShowHelp() {
  std::string text = SvTr("Usage: svq COMMAND [OPTION]... [ARGUMENT]...\n"
                          "Exports, counts and compares the contents of SVQ dictionary files.\n");
  text += '\n';
  text += SvTr("Commands:\n");
  for (const TSvqCommand& command : Commands()) {
    char line[256];
    std::snprintf(line, sizeof line, "  %-8s  %s\n", command.Name, SvTr(command.Summary));
    text += line;
  }
  text += '\n';
  text += SvTr("Options:\n"
               "  -h, --help     display this help and exit\n"
               "      --version  output version information and exit\n");
  text += '\n';
  text += SvTr("Run 'svq COMMAND --help' for the options of a command.\n");
  std::fputs(text.c_str(), stdout);
}

void ShowVersion() {
  std::printf("%s\n", SvqVersionLine().c_str());
  std::fputs("Copyright (C) 2026 The SvqPeek developers.\n", stdout);
  std::fputs(SvTr("License: MIT <https://opensource.org/licenses/MIT>.\n"
                  "This is free software: you are free to change and redistribute it.\n"
                  "There is NO WARRANTY, to the extent permitted by law.\n"),
             stdout);
}

int RunCommand(const std::vector<std::string>& args) {
  if (args.empty())
    throw ESvqUsage({}, SvTr("missing command"));
  const std::string& name = args[0];
  if (name == "--help" || name == "-h") {
    ShowHelp();
    return kSvqOk;
  }
  if (name == "--version") {
    ShowVersion();
    return kSvqOk;
  }
  for (const TSvqCommand& command : Commands())
    if (name == command.Name)
      return command.Run(std::vector<std::string>(args.begin() + 1, args.end()));
  if (name.starts_with("-"))
    throw ESvqUsage({}, SvFormat(SvTr("unrecognized option '%s'"), {name}));
  throw ESvqUsage({}, SvFormat(SvTr("unknown command '%s'"), {name}));
}

} // namespace

int RunSvq(const std::vector<std::string>& args) {
  try {
    return RunCommand(args);
  } catch (const ESvqUsage& fault) {
    SvqMessage(fault.what());
    const std::string command = fault.Command.empty() ? "svq" : "svq " + fault.Command;
    std::fputs(SvFormat(SvTr("Try '%s --help' for more information.\n"), {command}).c_str(), stderr);
    return kSvqUsage;
  }
}

} // namespace sv
