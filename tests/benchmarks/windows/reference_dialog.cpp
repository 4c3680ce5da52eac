// The Wine reference for idle measurements: a bare dialog of the clock's
// size and style, run by the same polling loop as the clock's window (take a
// waiting message, or pause 1 ms when none is waiting), and nothing else.
#include <windows.h>

namespace {

INT_PTR CALLBACK bareProcedure(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

WORD* putString(WORD* at, const wchar_t* text) {
  do {
    *at++ = static_cast<WORD>(*text);
  } while (*text++ != L'\0');
  return at;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // An in-memory template: no menu, the dialog class, a caption, the font.
  alignas(4) WORD words[64] = {};
  auto* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(words);
  dialogTemplate->style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | WS_VISIBLE;
  dialogTemplate->x = 70;
  dialogTemplate->y = 70;
  dialogTemplate->cx = 271;
  dialogTemplate->cy = 193;
  WORD* at = reinterpret_cast<WORD*>(dialogTemplate + 1);
  *at++ = 0;
  *at++ = 0;
  at = putString(at, L"Idle reference");
  *at++ = 8;
  putString(at, L"MS Shell Dlg");

  HWND dialog = CreateDialogIndirectW(instance, dialogTemplate, nullptr, bareProcedure);
  while (IsWindow(dialog)) {
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      Sleep(1);
      continue;
    }
    if (IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
