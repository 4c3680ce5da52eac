// The reference that brightquill.exe's idle cost is held against: one bare
// dialog of the main window's position, size, style and font, no controls,
// one thread, and a message loop that polls with PeekMessageW and Sleep(1)
// like the program's modal loop, and does nothing else.
#include <windows.h>

#include <cstring>
#include <vector>

namespace {

// Appends a UTF-16 string, zero included, to a dialog template.
void appendText(std::vector<WORD>& words, const wchar_t* text) {
  do words.push_back(static_cast<WORD>(*text)); while (*text++ != 0);
}

// A DLGTEMPLATE with no items: 70, 70, 271 x 193 dialog units, the default
// style of the program's dialog, "MS Sans Serif" 8.
std::vector<WORD> dialogTemplate() {
  DLGTEMPLATE head{};
  head.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | DS_NOFAILCREATE;
  head.x = 70;
  head.y = 70;
  head.cx = 271;
  head.cy = 193;
  std::vector<WORD> words(sizeof head / sizeof(WORD));
  std::memcpy(words.data(), &head, sizeof head);
  words.push_back(0);  // no menu
  words.push_back(0);  // the default dialog class
  appendText(words, L"Reference dialog");
  words.push_back(8);  // points
  appendText(words, L"MS Sans Serif");
  return words;
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    DestroyWindow(dialog);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  std::vector<WORD> words = dialogTemplate();
  HWND dialog = CreateDialogIndirectParamW(
      instance, reinterpret_cast<DLGTEMPLATE*>(words.data()), nullptr, dialogProcedure, 0);
  if (dialog == nullptr) return 1;
  ShowWindow(dialog, SW_SHOW);
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
