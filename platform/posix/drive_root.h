#pragma once
#include <optional>
#include <string>

// The folder that stands for the drive root "c:\" of the program's Windows
// paths: empty for the working directory, none when there is no folder for
// it at all (the drive's paths then name nothing). Two tiny libraries provide
// it, and each program links one: the desktop program the user's
// configuration folder, the test programs the working directory.
std::optional<std::string> driveRootFolder();

// Test programs only: names another folder for the drive, or none.
void setDriveRootFolderForTests(std::optional<std::string> folder);
