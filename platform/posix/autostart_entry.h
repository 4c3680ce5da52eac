#pragma once
#include <string>

// The name of the desktop entry, in the autostart folder as in the
// applications folder: desktop sessions match the two by this name.
extern const char kDesktopEntryName[];

// The text of the autostart desktop entry that starts the program at
// programPath (absolute): by its name alone in /usr/bin or /usr/local/bin,
// by its full path elsewhere, quoted and escaped by the desktop entry rules.
// Empty when the path is not absolute, is not UTF-8 or holds a control
// character, which no entry can carry.
std::string autostartEntry(const std::string& programPath);
