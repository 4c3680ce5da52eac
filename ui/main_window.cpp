#include "ui/main_window.h"

#include "alarms/alarm_tables.h"
#include "alarms/window_flags.h"
#include "app/app_state.h"
#include "platform/number_text.h"
#include "ui/control_ids.h"
#include "ui/main_window_layout.h"

namespace {

Text plainDigits(Number value) { return trimLeft(numberToText(value)); }

// The hour as the window shows it: 12-hour form, with the alarm's "p.m."
// switch set for the afternoon. Works on a copy; the tables keep 24 hours.
Text shownHour(int alarm, std::int16_t hour) {
  if (hour >= 12) {
    PmFlags[alarm] = true;
    hour = static_cast<std::int16_t>(hour - 12);
  }
  if (hour == 0) hour = 12;
  return plainDigits(hour);
}

void addLayoutControls(WindowHandle window) {
  AlarmTime time;
  for (const ControlLayout& control : MainWindowLayout) {
    Text text = control.caption;
    if (control.role == ControlRole::HourBox) {
      time = AlarmTimeOf(control.alarm);  // hour and minute from one copy
      text = shownHour(control.alarm, time.hour);
    } else if (control.role == ControlRole::MinuteBox) {
      text = plainDigits(time.minute);
    }
    addControl(window, control.kind, control.id, text, control.x, control.y, control.width,
               control.height);
    if (control.accessibleName != nullptr) {
      setControlAccessibleName(window, control.id, control.accessibleName);
    }
    if (control.role == ControlRole::PmBox && PmFlags[control.alarm]) {
      setControlCheck(window, control.id, 1);
    }
  }
}

void checkArmedAlarms(WindowHandle window) {
  const Text armString = ArmStringNow();
  for (int alarm = 1; alarm <= kAlarmCount; ++alarm) {
    if (characterCode(armString, alarm) != 'A') continue;
    setControlCheck(window, AlarmControlId(alarm, ControlRole::ArmBox), 1);
    ArmFlags[alarm] = true;
  }
}

}  // namespace

void ShowMainWindow() {
  const WindowHandle window = createDialog(0, kMainWindowCaption, kMainWindowX, kMainWindowY,
                                           kMainWindowWidth, kMainWindowHeight, 0, 0);
  // Known before any control exists, so the clock can address the window.
  MainWindow = window;
  if (window == 0) return;

  addLayoutControls(window);
  checkArmedAlarms(window);

  const FontId timeFont = createFont("MS Sans Serif", 24, 1, 0, 0, 0);
  const FontId speakFont = createFont("MS Sans Serif", 10, 1, 0, 0, 0);
  setControlFont(window, IDC_TIME, timeFont);
  setControlFont(window, IDC_SPEAK_TEXT, speakFont);
  // The clock sets the time twice a second; a screen reader in the box
  // reads it when the user arrives there, not at every tick.
  setControlUpdatesUnannounced(window, IDC_TIME);

  runModal(window, OnMainWindowMessage);

  releaseFont(timeFont);
  releaseFont(speakFont);
}
