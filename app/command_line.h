#pragma once
// The program's few arguments. Without any, the clock starts as always.
#include <vector>

#include "platform/text.h"

enum class CommandLineAction {
  RunClock,      // no argument: the clock itself
  AutostartOn,   // --autostart on
  AutostartOff,  // --autostart off
  PrintVersion,  // --version
  PrintUsage,    // --help
  Refuse,        // anything else: Problem says what
};

struct CommandLine {
  CommandLineAction Action;
  Text Problem;  // one line, for Refuse only
};

extern const Text kVersionLine;
extern const Text kUsage;

// Arguments after the program's own name.
CommandLine ParseCommandLine(const std::vector<Text>& arguments);

// What RunCommandLine returns when the clock is to run.
constexpr int kRunClock = -1;

// Carries out every action but RunClock and returns the process exit code:
// 0 when done, 1 when start at sign-in could not be changed, 2 for an
// argument it does not know. Prints to the standard output and error only.
int RunCommandLine(const std::vector<Text>& arguments);
