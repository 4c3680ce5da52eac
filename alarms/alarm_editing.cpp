#include "alarms/alarm_editing.h"

#include "alarms/alarm_files.h"
#include "alarms/alarm_tables.h"
#include "alarms/window_flags.h"
#include "app/app_state.h"
#include "platform/dialog.h"
#include "ui/control_ids.h"

namespace {

struct TimeBoxes {
  int hour;
  int minute;
};

// Index 1..5 (A..E); index 0 is unused.
constexpr TimeBoxes kTimeBoxes[kAlarmCount + 1] = {
    {0, 0},
    {IDC_HOUR_A, IDC_MINUTE_A},
    {IDC_HOUR_B, IDC_MINUTE_B},
    {IDC_HOUR_C, IDC_MINUTE_C},
    {IDC_HOUR_D, IDC_MINUTE_D},
    {IDC_HOUR_E, IDC_MINUTE_E},
};

bool validAlarm(int alarm) { return alarm >= 1 && alarm <= kAlarmCount; }

// The hour box in 12-hour form and the "p.m." switch, as an hour of the
// 24-hour clock. Anything that is no hour from 1 to 12 counts as 12.
Number storedHour(Number typed, bool pm) {
  Number hour = typed;
  if (hour < 1 || hour > 12) hour = 12;
  if (hour == 12 && !pm) hour = 0;
  if (pm && hour != 12) hour += 12;
  // A fraction keeps its place until the hour is stored as a whole number;
  // from 11:30 p.m. on that would be 24, which the clock never reaches, so
  // it is the midnight hour.
  if (toInt16(hour) == 24) hour = 0;
  return hour;
}

Number storedMinute(Number typed) { return typed < 0 || typed > 59 ? 0 : typed; }

}  // namespace

void SetAlarm(int alarm) {
  if (!validAlarm(alarm)) return;
  CurrentAlarm = alarm;
  ReadSpeakFile(alarm);
  const WindowHandle window = MainWindow.load();
  const Number hour =
      storedHour(textToNumber(getControlText(window, kTimeBoxes[alarm].hour)), PmFlags[alarm]);
  const Number minute = storedMinute(textToNumber(getControlText(window, kTimeBoxes[alarm].minute)));
  WriteRingFile(alarm, hour, minute);
}

void TogglePm(int alarm) {
  if (!validAlarm(alarm)) return;
  PmFlags[alarm] = !PmFlags[alarm];
}

void ToggleArm(int alarm) {
  if (!validAlarm(alarm)) return;
  ArmFlags[alarm] = !ArmFlags[alarm];
  Text armString = ArmStringNow();
  if (textLength(armString) < kAlarmCount) armString = "     ";
  armString[alarm - 1] = ArmFlags[alarm] ? 'A' : ' ';
  StoreArmString(armString);
  WriteArmFile();
  WriteSpeakFile(CurrentAlarm);
}

void SaveAlarmText() { WriteSpeakFile(CurrentAlarm); }
