// bq_driver.exe: drives Brightquill's main window from a second process in
// the same Wine prefix, for the end-to-end scenarios (see tests/e2e/lib.sh).
#include <windows.h>

#include <cstring>

#include "ansi_io.h"
#include "commands.h"

namespace {

struct Command {
  const wchar_t* name;
  int (*run)(const Arguments&);
  const char* use;
};

const Command kCommands[] = {
    {L"wait-window", waitWindow, "wait-window <ms>: the main window's caption"},
    {L"wait-gone", waitGone, "wait-gone <ms>: until no main window is left"},
    {L"watch-gone", watchGone, "watch-gone <ms>: \"seen\", then \"gone LAST_SEEN FIRST_GONE\" (Unix ms)"},
    {L"get-text", getText, "get-text <id> [ms]: waiting up to ms (10 s) for the answer"},
    {L"set-text", setText, "set-text <id> <text>"},
    {L"click", click, "click <id>: BM_CLICK, posted"},
    {L"get-check", getCheck, "get-check <id>: 0, 1 or 2"},
    {L"focus-id", focusId, "focus-id: the id of the focused control, 0 for none"},
    {L"tab", tab, "tab [back]: Tab posted to the focused control ([back]: WM_NEXTDLGCTL)"},
    {L"focus", focus, "focus <id>: WM_NEXTDLGCTL to that control, posted"},
    {L"key", key, "key <vk>: key down and up posted to the focused control"},
    {L"type", typeChars, "type <text>: WM_CHAR per character to the focused control"},
    {L"wait-text", waitText, "wait-text <id> <text> <ms>"},
    {L"hold-file", holdFiles, "hold-file <s> <path>...: open unshared, say \"held\", keep s"},
    {L"info", info, "info: the window and every control in Z (tab) order"},
    {L"close", close, "close: WM_SYSCOMMAND SC_CLOSE, posted"},
    {L"fonts", fonts, "fonts: the dialog's and each control's font, read inside the program"},
    {L"dlg-rect", dialogRects, "dlg-rect <x> <y> <w> <h>...: MapDialogRect in the program"},
    {L"version-info", versionInfo, "version-info: the program exe's version numbers and strings"},
    {L"icon-group", iconGroup, "icon-group: each image of the program exe's icon 1"},
    {L"manifest", manifest, "manifest: the program exe's application manifest"},
    {L"window-icons", windowIcons, "window-icons: the main window's big and small icon sizes, read in the program"},
    {L"sample", sampleText, "sample <id> <ms> <period-ms>: time-stamped text changes"},
    {L"tick-times", tickTimes, "tick-times <count> <ms>: clock ticks seen in the time box"},
};

void printUse() {
  std::string use = "bq_driver.exe <command> ...\n";
  for (const Command& command : kCommands) use += std::string("  ") + command.use + "\n";
  writeErr(use);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    printUse();
    return 2;
  }
  for (const Command& command : kCommands) {
    if (wcscmp(argv[1], command.name) != 0) continue;
    const int result = command.run(Arguments(argv + 2, argv + argc));
    if (result == 2) writeErr(std::string("bq_driver: use: ") + command.use + "\n");
    return result;
  }
  printUse();
  return 2;
}
