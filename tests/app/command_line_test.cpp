#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CommandLineTest, EachArgumentGivesItsAction) {
  struct Case {
    std::vector<Text> arguments;
    CommandLineAction action;
    std::string problemNames;  // what a refusal's message must quote
  };
  const auto refuse = CommandLineAction::Refuse;
  const Case cases[] = {
      {{}, CommandLineAction::RunClock, ""},
      {{"--version"}, CommandLineAction::PrintVersion, ""},
      {{"--help"}, CommandLineAction::PrintUsage, ""},
      {{"--autostart", "on"}, CommandLineAction::AutostartOn, ""},
      {{"--autostart", "off"}, CommandLineAction::AutostartOff, ""},
      {{"--autostart"}, refuse, "--autostart"},
      {{"--autostart", "yes"}, refuse, "--autostart"},
      {{"--autostart", "ON"}, refuse, "--autostart"},
      {{"--autostart=on"}, refuse, "'--autostart=on'"},
      {{"--verbose"}, refuse, "'--verbose'"},
      {{"-h"}, refuse, "'-h'"},
      {{""}, refuse, "''"},
      {{"--version", "--help"}, refuse, "'--help'"},
      {{"--autostart", "on", "off"}, refuse, "'off'"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const Text& argument : c.arguments) shown += "[" + argument + "]";
    SCOPED_TRACE(shown);
    const CommandLine command = ParseCommandLine(c.arguments);
    EXPECT_EQ(command.Action, c.action);
    if (c.action == refuse) {
      EXPECT_EQ(command.Problem.rfind("brightquill: ", 0), 0u) << command.Problem;
      EXPECT_NE(command.Problem.find(c.problemNames), std::string::npos) << command.Problem;
      EXPECT_EQ(command.Problem.find('\n'), std::string::npos) << "one line";
    } else {
      EXPECT_EQ(command.Problem, "");
    }
  }
}

}  // namespace
