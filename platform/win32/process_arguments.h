#pragma once
#include <vector>

#include "platform/text.h"

// The arguments after the program's name on its command line, split by the
// Windows rules and converted to the ANSI code page. When there are any and
// the process has no standard output (a window program started from a
// console), its output goes to the console it was started from.
std::vector<Text> processArguments();
