// Standing in for another program that uses the settings files.
#include <windows.h>

#include "ansi_io.h"
#include "command_support.h"
#include "commands.h"

// Opens every file for reading and writing with no sharing, says "held" and
// keeps them open for the given time (or until the process is ended).
int holdFiles(const Arguments& args) {
  long seconds = 0;
  if (args.size() < 2 || !parseNumber(args[0], seconds)) return 2;
  for (size_t i = 1; i < args.size(); ++i) {
    if (CreateFileW(args[i].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr) == INVALID_HANDLE_VALUE) {
      writeErr("bq_driver: cannot hold " + toAnsi(args[i]) + "\n");
      return 1;
    }
  }
  writeOut("held\n");
  Sleep(static_cast<DWORD>(seconds) * 1000);
  return 0;  // the handles close with the process
}
