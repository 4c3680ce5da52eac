#include "platform/common_controls.h"

#include <windows.h>
#include <commctrl.h>

namespace {

constexpr DWORD kControlClasses = 0x9FF;  // Win95, date and internet classes

using InitExProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
using InitProc = void(WINAPI*)();

template <typename Proc>
Proc lookUp(HMODULE library, const char* name) {
  FARPROC found = GetProcAddress(library, name);
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

// Looks the entry points up in the loaded library, so a system without the
// library still starts (the step is then skipped).
void loadCommonControls() {
  HMODULE library = LoadLibraryW(L"COMCTL32.DLL");
  if (library == nullptr) return;
  if (auto initEx = lookUp<InitExProc>(library, "InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = 8;
    classes.dwICC = kControlClasses;
    initEx(&classes);
  } else if (auto init = lookUp<InitProc>(library, "InitCommonControls")) {
    init();
  }
  FreeLibrary(library);
}
