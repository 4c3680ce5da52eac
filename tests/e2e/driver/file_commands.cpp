// Commands that stand in for another program using the settings files.
#include <windows.h>

#include <vector>

#include "ansi_io.h"
#include "command_support.h"
#include "commands.h"

// Opens every file for reading and writing with no sharing, as another
// program might, says "held" and keeps them open for the given time.
int holdFiles(const Arguments& args) {
  long seconds = 0;
  if (args.size() < 2 || !parseNumber(args[0], seconds)) return 2;
  std::vector<HANDLE> held;
  for (size_t i = 1; i < args.size(); ++i) {
    HANDLE file = CreateFileW(args[i].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      writeErr("bq_driver: cannot hold " + toAnsi(args[i]) + ": error " +
               std::to_string(GetLastError()) + "\n");
      for (HANDLE open : held) CloseHandle(open);
      return 1;
    }
    held.push_back(file);
  }
  writeOut("held\n");
  Sleep(static_cast<DWORD>(seconds) * 1000);
  for (HANDLE file : held) CloseHandle(file);
  return 0;
}
