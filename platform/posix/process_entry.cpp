// The process entry of the Linux desktop program: its arguments are handled
// before anything else, then the display is looked for.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/startup.h"
#include "platform/gtk/toolkit_start.h"

namespace {

// A program started with no display (over ssh, say) could show no window:
// it says so before the greeting, and fails.
bool reportMissingDisplay() {
  if (gtk_dialog::displayCanBeOpened()) return false;
  const char* name = std::getenv("DISPLAY");
  if (name != nullptr && name[0] != '\0') {
    std::fprintf(stderr, "brightquill: cannot open display %s\n", name);
  } else {
    std::fputs("brightquill: cannot open display\n", stderr);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int code = RunCommandLine({argv + 1, argv + argc}); code != kRunClock) {
    // The desktop entry's sign-in actions start a command, not the clock.
    gtk_dialog::endLaunchFeedback();
    return code;
  }
  gtk_dialog::prepareToolkitEnvironment();
  if (reportMissingDisplay()) return 1;
  const int code = BrightquillMain();
  // Ends the process at once with the start-up thread's result: the clock
  // thread may still be running, and must not see the program's globals
  // destroyed under it by the exit handlers. Buffered output goes first.
  std::fflush(nullptr);
  _exit(code);
}
