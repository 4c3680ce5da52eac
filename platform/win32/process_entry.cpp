// The Windows process entry: no command line, show command or instance
// value is used.
#include <windows.h>

#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Ends the process at once with the start-up thread's result: the clock
  // thread may still be running, and must not see the program's globals
  // destroyed under it by the runtime's exit handlers.
  ExitProcess(static_cast<UINT>(BrightquillMain()));
}
