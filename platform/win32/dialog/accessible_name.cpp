// A control's name for screen readers. The dialog manager names a control
// only by its caption; MSAA's property service gives it another name without
// changing what the control shows.
#include <oleacc.h>

#include "platform/dialog.h"
#include "platform/win32/dialog/ansi_conversion.h"
#include "platform/win32/dialog/window_handles.h"

// Uses the calling thread's COM apartment, as the dialog thread has one.
// Without the service, or where it answers E_NOTIMPL (Wine), the control
// keeps the name its caption gives it.
void setControlAccessibleName(WindowHandle dialog, int id, const Text& name) {
  HWND control = toHwnd(controlWindow(dialog, id));
  if (control == nullptr) return;
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
    return;
  }
  services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                           static_cast<DWORD>(CHILDID_SELF), PROPID_ACC_NAME,
                           ansiToWide(name).c_str());
  services->Release();
}

// The edit control itself raises EVENT_OBJECT_VALUECHANGE for every new text,
// and UI Automation's edit proxy builds its events from that; a WinEvent
// cannot be held back from other processes without another kind of control,
// so the time box is announced as the system announces any edit box.
void setControlUpdatesUnannounced(WindowHandle, int) {}
