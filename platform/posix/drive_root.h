#pragma once
#include <string>

// The folder that stands for the drive root "c:\" of the program's Windows
// paths; empty for the working directory. Two tiny libraries provide it, and
// each program links one: the desktop program the user's configuration
// folder, the test programs the working directory.
std::string driveRootFolder();
