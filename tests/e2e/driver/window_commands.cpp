// Commands that act on the main window the way a user or the window system
// would: reading and writing control texts, clicks, keys, the close command.
#include <windows.h>

#include "ansi_io.h"
#include "command_support.h"
#include "commands.h"
#include "target_window.h"
#include "../voice/speech_log.h"

namespace {

int printText(HWND window, UINT timeoutMs = kSendTimeoutMs) {
  std::optional<std::wstring> text = readText(window, timeoutMs);
  if (!text) {
    writeErr("bq_driver: the program did not answer WM_GETTEXT\n");
    return 3;
  }
  printLine(*text);
  return 0;
}

// Posts a key press and release to the focused control (or the dialog), as
// the keyboard would; the program's message loop gives it to
// IsDialogMessageW.
void postKey(HWND dialog, UINT virtualKey) {
  HWND target = focusedWindow(dialog);
  if (target == nullptr) target = dialog;
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | scan);
  PostMessageW(target, WM_KEYUP, virtualKey, 1 | scan | (1L << 30) | (1L << 31));
}

}  // namespace

int waitWindow(const Arguments& args) {
  long ms = 0;
  if (args.size() != 1 || !parseNumber(args[0], ms)) return 2;
  HWND dialog = waitMainDialog(static_cast<DWORD>(ms));
  if (dialog == nullptr) {
    writeErr("bq_driver: no main window within " + toAnsi(args[0]) + " ms\n");
    return 1;
  }
  return printText(dialog);
}

int waitGone(const Arguments& args) {
  long ms = 0;
  if (args.size() != 1 || !parseNumber(args[0], ms)) return 2;
  const double end = nowMs() + ms;
  while (findMainDialog() != nullptr) {
    if (nowMs() >= end) return 1;
    Sleep(20);
  }
  return 0;
}

// Started before the window is to go, so that a slow start of this process
// cannot be taken for the window's end: prints "seen" once it has the
// window, then "gone LAST_SEEN FIRST_GONE" (Unix ms, as the voice logs them)
// when it is no more.
int watchGone(const Arguments& args) {
  long ms = 0;
  if (args.size() != 1 || !parseNumber(args[0], ms)) return 2;
  if (waitMainDialog(static_cast<DWORD>(ms)) == nullptr) return 2;
  writeOut("seen\n");
  const double end = nowMs() + ms;
  long long lastSeen = speech_log::unixTimeMs();
  while (findMainDialog() != nullptr) {
    if (nowMs() >= end) return 1;
    Sleep(10);
    lastSeen = speech_log::unixTimeMs();
  }
  const long long gone = speech_log::unixTimeMs();
  writeOut("gone " + std::to_string(lastSeen) + " " + std::to_string(gone) + "\n");
  return 0;
}

int getText(const Arguments& args) {
  // A long time-out tells when a busy program takes messages again.
  long ms = kSendTimeoutMs;
  if (args.empty() || args.size() > 2) return 2;
  if (args.size() == 2 && (!parseNumber(args[1], ms) || ms < 0)) return 2;
  HWND control = requireControl(args[0]);
  return control == nullptr ? 2 : printText(control, static_cast<UINT>(ms));
}

int setText(const Arguments& args) {
  if (args.size() != 2) return 2;
  HWND control = requireControl(args[0]);
  if (control == nullptr) return 2;
  return writeText(control, args[1]) ? 0 : 3;
}

int click(const Arguments& args) {
  if (args.size() != 1) return 2;
  HWND control = requireControl(args[0]);
  if (control == nullptr) return 2;
  // Posted: a handler that takes long (speaking, fetching) cannot block us.
  PostMessageW(control, BM_CLICK, 0, 0);
  return 0;
}

int getCheck(const Arguments& args) {
  if (args.size() != 1) return 2;
  HWND control = requireControl(args[0]);
  if (control == nullptr) return 2;
  std::optional<LRESULT> state = readCheck(control);
  if (!state) return 3;
  writeOut(std::to_string(*state) + "\n");
  return 0;
}

int focusId(const Arguments& args) {
  if (!args.empty()) return 2;
  HWND dialog = requireDialog();
  if (dialog == nullptr) return 2;
  HWND focus = focusedWindow(dialog);
  const int id = focus != nullptr && GetParent(focus) == dialog ? GetDlgCtrlID(focus) : 0;
  writeOut(std::to_string(id) + "\n");
  return 0;
}

int tab(const Arguments& args) {
  HWND dialog = requireDialog();
  if (dialog == nullptr) return 2;
  if (args.empty()) {
    postKey(dialog, VK_TAB);
    return 0;
  }
  if (args.size() == 1 && args[0] == L"back") {
    // Shift+Tab cannot be posted (the key state is the receiver's), so the
    // dialog manager is asked for the previous control directly.
    PostMessageW(dialog, WM_NEXTDLGCTL, 1, 0);
    return 0;
  }
  return 2;
}

int focus(const Arguments& args) {
  if (args.size() != 1) return 2;
  HWND control = requireControl(args[0]);
  if (control == nullptr) return 2;
  // SetFocus works only on one's own thread; the dialog manager moves the
  // focus for us (and selects an edit box's text, as tabbing there would).
  PostMessageW(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  return 0;
}

int key(const Arguments& args) {
  long virtualKey = 0;
  if (args.size() != 1 || !parseNumber(args[0], virtualKey)) return 2;
  HWND dialog = requireDialog();
  if (dialog == nullptr) return 2;
  postKey(dialog, static_cast<UINT>(virtualKey));
  return 0;
}

int typeChars(const Arguments& args) {
  if (args.size() != 1) return 2;
  HWND dialog = requireDialog();
  if (dialog == nullptr) return 2;
  HWND target = focusedWindow(dialog);
  if (target == nullptr) return 2;
  for (wchar_t c : args[0]) PostMessageW(target, WM_CHAR, c, 1);
  return 0;
}

int waitText(const Arguments& args) {
  long ms = 0;
  if (args.size() != 3 || !parseNumber(args[2], ms)) return 2;
  HWND control = requireControl(args[0]);
  if (control == nullptr) return 2;
  const double end = nowMs() + ms;
  std::optional<std::wstring> text;
  for (;;) {
    text = readText(control);
    if (text && *text == args[1]) {
      printLine(*text);
      return 0;
    }
    if (nowMs() >= end) break;
    Sleep(50);
  }
  writeErr("bq_driver: control " + toAnsi(args[0]) + " still shows \"" +
           (text ? toAnsi(*text) : std::string("(no answer)")) + "\"\n");
  return 1;
}

int info(const Arguments& args) {
  if (!args.empty()) return 2;
  HWND dialog = requireDialog();
  if (dialog == nullptr) return 2;
  std::optional<std::wstring> caption = readText(dialog);
  if (!caption) return 3;
  RECT client = {};
  GetClientRect(dialog, &client);
  RECT frame = {};
  GetWindowRect(dialog, &frame);
  auto rectText = [](const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
           " " + std::to_string(r.bottom);
  };
  writeOut("caption\t" + toAnsi(*caption) + "\n");
  writeOut("style\t" + hex8(GetWindowLongW(dialog, GWL_STYLE)) + "\n");
  writeOut("exstyle\t" + hex8(GetWindowLongW(dialog, GWL_EXSTYLE)) + "\n");
  writeOut("client\t" + rectText(client) + "\n");
  writeOut("frame\t" + rectText(frame) + "\n");
  POINT origin = {0, 0};
  ClientToScreen(dialog, &origin);
  writeOut("origin\t" + std::to_string(origin.x) + " " + std::to_string(origin.y) + "\n");
  // Children in Z order, which for controls made one after another is their
  // creation order and the tab order.
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT place = {};
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&place), 2);
    const std::wstring kind = windowClass(child);
    std::string check = "-";
    if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
      std::optional<LRESULT> state = readCheck(child);
      if (!state) return 3;
      check = std::to_string(*state);
    }
    std::optional<std::wstring> text = readText(child);
    if (!text) return 3;
    writeOut("control\t" + std::to_string(GetDlgCtrlID(child)) + "\t" + toAnsi(kind) + "\t" +
             hex8(GetWindowLongW(child, GWL_STYLE)) + "\t" +
             hex8(GetWindowLongW(child, GWL_EXSTYLE)) + "\t" + rectText(place) + "\t" + check +
             "\t" + toAnsi(*text) + "\n");
  }
  return 0;
}

int close(const Arguments& args) {
  if (!args.empty()) return 2;
  HWND dialog = requireDialog();
  if (dialog == nullptr) return 2;
  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  return 0;
}
