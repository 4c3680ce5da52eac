#include "app/command_line.h"

const Text kVersionLine = "Brightquill 1.00\n";

const Text kUsage =
    "Usage: brightquill [--autostart on|off | --version | --help]\n"
    "Without an argument, starts the Brightquill talking alarm clock.\n"
    "\n"
    "  --autostart on   start Brightquill whenever you sign in\n"
    "  --autostart off  no longer start it when you sign in\n"
    "  --version        print the version and exit\n"
    "  --help           print this help and exit\n"
    "\n"
    "Exit status: 0 when the clock has ended or a command was carried out;\n"
    "1 when start at sign-in could not be changed, or when the Linux program\n"
    "cannot open a display; 2 for an unknown argument.\n";

namespace {

CommandLine refuse(const Text& problem) {
  return {CommandLineAction::Refuse,
          "brightquill: " + problem + " (brightquill --help lists the arguments)"};
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<Text>& arguments) {
  if (arguments.empty()) return {CommandLineAction::RunClock, {}};
  const Text& first = arguments[0];
  std::size_t used = 1;
  CommandLine command{CommandLineAction::Refuse, {}};
  if (first == "--version") {
    command.Action = CommandLineAction::PrintVersion;
  } else if (first == "--help") {
    command.Action = CommandLineAction::PrintUsage;
  } else if (first == "--autostart") {
    const Text choice = arguments.size() > 1 ? arguments[1] : Text();
    if (choice == "on") {
      command.Action = CommandLineAction::AutostartOn;
    } else if (choice == "off") {
      command.Action = CommandLineAction::AutostartOff;
    } else {
      return refuse("--autostart takes on or off");
    }
    used = 2;
  } else {
    return refuse("unknown argument '" + first + "'");
  }
  // One action per start: a second one would be silently ignored otherwise.
  if (arguments.size() > used) return refuse("unexpected argument '" + arguments[used] + "'");
  return command;
}
