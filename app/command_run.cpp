#include <cstdio>

#include "app/command_line.h"
#include "platform/autostart.h"

namespace {

void print(std::FILE* stream, const Text& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

int RunCommandLine(const std::vector<Text>& arguments) {
  const CommandLine command = ParseCommandLine(arguments);
  switch (command.Action) {
    case CommandLineAction::RunClock:
      return kRunClock;
    case CommandLineAction::PrintVersion:
      print(stdout, kVersionLine);
      return 0;
    case CommandLineAction::PrintUsage:
      print(stdout, kUsage);
      return 0;
    case CommandLineAction::AutostartOn:
    case CommandLineAction::AutostartOff: {
      const bool on = command.Action == CommandLineAction::AutostartOn;
      if (setStartAtSignIn(on)) return 0;
      print(stderr, on ? "brightquill: could not turn start at sign-in on\n"
                       : "brightquill: could not turn start at sign-in off\n");
      return 1;
    }
    case CommandLineAction::Refuse:
      break;
  }
  print(stderr, command.Problem + "\n");
  return 2;
}
