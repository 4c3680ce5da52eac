// The process entry of the Linux desktop program: its arguments are handled
// before anything else; no environment value is read here.
#include <unistd.h>

#include <cstdio>

#include "app/command_line.h"
#include "app/startup.h"

int main(int argc, char** argv) {
  if (const int code = RunCommandLine({argv + 1, argv + argc}); code != kRunClock) return code;
  const int code = BrightquillMain();
  // Ends the process at once with the start-up thread's result: the clock
  // thread may still be running, and must not see the program's globals
  // destroyed under it by the exit handlers. Buffered output goes first.
  std::fflush(nullptr);
  _exit(code);
}
