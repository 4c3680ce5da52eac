#pragma once
#include <string>

#include "platform/text.h"

// The program names its files with Windows paths ("c:\quillhaven\..."). On
// POSIX a drive prefix "c:" is dropped, backslashes become slashes, and the
// result is cut to 255 characters like a Windows path.
std::string nativePath(const Text& path);
