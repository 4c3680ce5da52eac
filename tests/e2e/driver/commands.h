#pragma once
// The driver's commands. Each takes its arguments (after the command name)
// and returns the process exit code:
//   0 done, 1 the awaited state did not come in time, 2 bad use or no such
//   window/control, 3 the program did not answer a message in time.
#include <string>
#include <vector>

using Arguments = std::vector<std::wstring>;

// Window and controls (window_commands.cpp).
int waitWindow(const Arguments& args);
int waitGone(const Arguments& args);
int watchGone(const Arguments& args);
int getText(const Arguments& args);
int setText(const Arguments& args);
int click(const Arguments& args);
int getCheck(const Arguments& args);
int focusId(const Arguments& args);
int tab(const Arguments& args);
int focus(const Arguments& args);
int key(const Arguments& args);
int typeChars(const Arguments& args);
int waitText(const Arguments& args);
int info(const Arguments& args);
int close(const Arguments& args);

// Another program using the settings files (file_commands.cpp).
int holdFiles(const Arguments& args);

// Inside the program's process (probe_commands.cpp).
int fonts(const Arguments& args);
int dialogRects(const Arguments& args);
int windowIcons(const Arguments& args);

// What the shell shows of the program's exe (resource_commands.cpp).
int versionInfo(const Arguments& args);
int iconGroup(const Arguments& args);
int manifest(const Arguments& args);

// Over time (timing_commands.cpp).
int sampleText(const Arguments& args);
int tickTimes(const Arguments& args);
