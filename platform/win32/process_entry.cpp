// The Windows process entry: the command line is handled before anything
// else; no show command or instance value is used.
#include <windows.h>

#include "app/command_line.h"
#include "app/startup.h"
#include "platform/win32/process_arguments.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (const int code = RunCommandLine(processArguments()); code != kRunClock) ExitProcess(code);
  // Ends the process at once with the start-up thread's result: the clock
  // thread may still be running, and must not see the program's globals
  // destroyed under it by the runtime's exit handlers.
  ExitProcess(static_cast<UINT>(BrightquillMain()));
}
