#include "alarms/alarm_editing.h"
#include "clock/clock_thread.h"
#include "inspiration/saying_schedule.h"
#include "ui/control_ids.h"
#include "ui/main_window.h"
#include "ui/saved_focus.h"
#include "ui/window_sequences.h"

WindowHandle SavedFocus = 0;

namespace {

// Alarm number 1..5 of an alarm control, 0 for any other id.
int alarmOfArmBox(int id) {
  switch (id) {
    case IDC_ARM_A: return 1;
    case IDC_ARM_B: return 2;
    case IDC_ARM_C: return 3;
    case IDC_ARM_D: return 4;
    case IDC_ARM_E: return 5;
    default: return 0;
  }
}

int alarmOfPmBox(int id) {
  switch (id) {
    case IDC_PM_A: return 1;
    case IDC_PM_B: return 2;
    case IDC_PM_C: return 3;
    case IDC_PM_D: return 4;
    case IDC_PM_E: return 5;
    default: return 0;
  }
}

int alarmOfSetButton(int id) {
  switch (id) {
    case IDC_SET_A: return 1;
    case IDC_SET_B: return 2;
    case IDC_SET_C: return 3;
    case IDC_SET_D: return 4;
    case IDC_SET_E: return 5;
    default: return 0;
  }
}

// Check boxes and radio buttons act on every command they send; push
// buttons only on a click or an accelerator.
bool actOnAlarmControl(int id) {
  if (const int armed = alarmOfArmBox(id)) {
    ToggleArm(armed);
  } else if (const int pm = alarmOfPmBox(id)) {
    TogglePm(pm);
  } else if (const int set = alarmOfSetButton(id)) {
    SetAlarm(set);
  } else {
    return false;
  }
  return true;
}

void actOnPushButton(WindowHandle window, int id) {
  switch (id) {
    case IDC_UPDATE: SaveAlarmText(); break;
    case IDC_SILENCER: SilenceRinging(); break;
    case IDC_SAYING: FetchSayingNow(); break;
    case IDC_EXIT: RunExitSequence(window); break;
    case IDC_TEST: RunTestSequence(window); break;
    default: break;  // edit boxes, frames, Enter (1), Esc (2): nothing
  }
}

void onCommand(WindowHandle window, MessageParam wParam) {
  const int id = static_cast<int>(wParam & 0xFFFF);
  const std::uint32_t code = static_cast<std::uint32_t>((wParam >> 16) & 0xFFFF);
  if (actOnAlarmControl(id)) return;
  if (code == kNotifyClicked || code == kNotifyAccelerator) actOnPushButton(window, id);
}

// Keeps the keyboard focus where it was across a switch to another window.
void onActivationChange(MessageParam wParam) {
  if (wParam == 0) {
    SavedFocus = focusedWindow();
  } else if (SavedFocus != 0) {
    focusWindow(SavedFocus);
    SavedFocus = 0;
  }
}

}  // namespace

MessageResult OnMainWindowMessage(WindowHandle window, std::uint32_t message, MessageParam wParam,
                                  MessageParam) {
  switch (message) {
    case kMsgNcActivate: onActivationChange(wParam); break;
    case kMsgCommand: onCommand(window, wParam); break;
    default: break;  // WM_INITDIALOG, WM_CLOSE, WM_DESTROY, WM_SYSCOMMAND, ...
  }
  return 0;
}
