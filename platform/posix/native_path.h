#pragma once
#include <string>

#include "platform/text.h"

// The program names its files with Windows paths ("c:\quillhaven\..."). On
// POSIX the path is first cut to 255 characters like a Windows path; then a
// drive prefix ("c:" and the root backslashes after it) becomes the folder of
// driveRootFolder (or is dropped, so that the path lies in the working
// directory), and backslashes become slashes. Paths without a drive keep
// their root. Without a folder for the drive, a path on it becomes empty,
// which every file call refuses.
std::string nativePath(const Text& path);
