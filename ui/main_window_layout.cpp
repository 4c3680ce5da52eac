#include "ui/main_window_layout.h"

#include "ui/control_ids.h"

namespace {

using K = ControlKind;
using R = ControlRole;

}  // namespace

// The left column holds the time and three buttons, the right the "Alarms"
// group with the rows of A..D and alarm E's row below it, the bottom the
// text to speak with "Exit" and "Test" under it.
const std::array<ControlLayout, kMainWindowControlCount> MainWindowLayout = {{
    {IDC_TIME, K::EditBox, "", 5, 5, 115, 30, R::Plain, 0, "Time"},
    {IDC_ALARMS_FRAME, K::GroupBox, "Alarms", 125, 5, 140, 95, R::Plain, 0},
    {IDC_ARM_A, K::CheckBox, "A", 130, 20, 20, 15, R::ArmBox, 1, "Alarm A armed"},
    {IDC_ARM_B, K::CheckBox, "B", 130, 40, 20, 15, R::ArmBox, 2, "Alarm B armed"},
    {IDC_ARM_C, K::CheckBox, "C", 130, 60, 20, 15, R::ArmBox, 3, "Alarm C armed"},
    {IDC_ARM_D, K::CheckBox, "D", 130, 80, 20, 15, R::ArmBox, 4, "Alarm D armed"},
    {IDC_HOUR_A, K::EditBox, "", 150, 20, 20, 15, R::HourBox, 1, "Alarm A hour"},
    {IDC_MINUTE_A, K::EditBox, "", 175, 20, 20, 15, R::MinuteBox, 1, "Alarm A minute"},
    {IDC_PM_A, K::CheckBox, "p.m.", 200, 20, 25, 15, R::PmBox, 1, "Alarm A p.m."},
    {IDC_SET_A, K::RadioButton, "set", 230, 20, 25, 15, R::SetButton, 1, "Set alarm A"},
    {IDC_HOUR_B, K::EditBox, "", 150, 40, 20, 15, R::HourBox, 2, "Alarm B hour"},
    {IDC_MINUTE_B, K::EditBox, "", 175, 40, 20, 15, R::MinuteBox, 2, "Alarm B minute"},
    {IDC_PM_B, K::CheckBox, "p.m.", 200, 40, 25, 15, R::PmBox, 2, "Alarm B p.m."},
    {IDC_SET_B, K::RadioButton, "set", 230, 40, 30, 15, R::SetButton, 2, "Set alarm B"},
    {IDC_HOUR_C, K::EditBox, "", 150, 60, 20, 15, R::HourBox, 3, "Alarm C hour"},
    {IDC_MINUTE_C, K::EditBox, "", 175, 60, 20, 15, R::MinuteBox, 3, "Alarm C minute"},
    {IDC_PM_C, K::CheckBox, "p.m.", 200, 60, 25, 15, R::PmBox, 3, "Alarm C p.m."},
    {IDC_SET_C, K::RadioButton, "set", 230, 60, 30, 15, R::SetButton, 3, "Set alarm C"},
    {IDC_HOUR_D, K::EditBox, "", 150, 80, 20, 15, R::HourBox, 4, "Alarm D hour"},
    {IDC_MINUTE_D, K::EditBox, "", 175, 80, 20, 15, R::MinuteBox, 4, "Alarm D minute"},
    {IDC_PM_D, K::CheckBox, "p.m.", 200, 80, 25, 15, R::PmBox, 4, "Alarm D p.m."},
    {IDC_SET_D, K::RadioButton, "set", 230, 80, 30, 15, R::SetButton, 4, "Set alarm D"},
    {IDC_UPDATE, K::PushButton, "Update", 5, 40, 115, 25, R::Plain, 0},
    {IDC_SILENCER, K::PushButton, "Silencer", 5, 70, 115, 25, R::Plain, 0},
    {IDC_SAYING, K::PushButton, "Brightquill", 5, 105, 115, 25, R::Plain, 0},
    {IDC_ARM_E, K::CheckBox, "E", 130, 110, 20, 15, R::ArmBox, 5, "Alarm E armed"},
    {IDC_HOUR_E, K::EditBox, "", 150, 110, 20, 15, R::HourBox, 5, "Alarm E hour"},
    {IDC_MINUTE_E, K::EditBox, "", 175, 110, 20, 15, R::MinuteBox, 5, "Alarm E minute"},
    {IDC_PM_E, K::CheckBox, "p.m.", 200, 110, 25, 15, R::PmBox, 5, "Alarm E p.m."},
    {IDC_SET_E, K::RadioButton, "set", 230, 110, 30, 15, R::SetButton, 5, "Set alarm E"},
    {IDC_SPEAK_FRAME, K::GroupBox, "Text to Speak", 5, 135, 260, 30, R::Plain, 0},
    {IDC_SPEAK_TEXT, K::EditBox, "", 10, 145, 250, 15, R::Plain, 0, "Text to Speak"},
    {IDC_EXIT, K::PushButton, "Exit", 5, 170, 35, 20, R::Plain, 0},
    {IDC_TEST, K::PushButton, "Test", 205, 170, 60, 20, R::Plain, 0},
}};

int AlarmControlId(int alarm, ControlRole role) {
  for (const ControlLayout& control : MainWindowLayout) {
    if (control.alarm == alarm && control.role == role) return control.id;
  }
  return 0;
}
