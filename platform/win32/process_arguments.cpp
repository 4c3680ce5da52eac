#include "platform/win32/process_arguments.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <cstdio>

namespace {

Text ansiText(const wchar_t* wide) {
  const int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return Text();
  Text text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), length, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(length - 1));
  return text;
}

// A window program has no console of its own; one started from a console
// writes to that console instead, so that --help can be read there.
void useParentConsole() {
  if (GetStdHandle(STD_OUTPUT_HANDLE) != nullptr) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  std::freopen("CONOUT$", "w", stdout);
  std::freopen("CONOUT$", "w", stderr);
}

}  // namespace

std::vector<Text> processArguments() {
  std::vector<Text> arguments;
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(ansiText(words[i]));
  LocalFree(words);
  if (!arguments.empty()) useParentConsole();
  return arguments;
}
