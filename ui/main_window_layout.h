#pragma once
// The main window's layout: its caption and placement, and every control in
// creation (tab) order with its kind, caption and rectangle in dialog units.
#include <array>

#include "platform/dialog.h"

inline constexpr const char* kMainWindowCaption =
    "BQC (www.brightquill.com) v1.00  (C) 2026 Brightquill Software";
inline constexpr int kMainWindowX = 70;
inline constexpr int kMainWindowY = 70;
inline constexpr int kMainWindowWidth = 271;
inline constexpr int kMainWindowHeight = 193;

// What a control shows or stands for in an alarm's row; Plain controls show
// their caption and belong to no alarm.
enum class ControlRole { Plain, ArmBox, HourBox, MinuteBox, PmBox, SetButton };

struct ControlLayout {
  int id;
  ControlKind kind;
  const char* caption;  // hour and minute boxes show the alarm's values instead
  int x, y, width, height;
  ControlRole role;
  int alarm;  // 1..5 (A..E) for the controls of an alarm's row, else 0
  // What assistive technology calls a control whose caption alone does not
  // name it: an edit box, which has none, and the controls of an alarm's row.
  const char* accessibleName = nullptr;
};

inline constexpr int kMainWindowControlCount = 34;
extern const std::array<ControlLayout, kMainWindowControlCount> MainWindowLayout;

// The id of an alarm's control with the given role; 0 when there is none.
int AlarmControlId(int alarm, ControlRole role);
