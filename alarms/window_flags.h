#pragma once
// The window-side alarm switches, index 1..5 (A..E). Set when the main
// window is built, then flipped on each click of their check box. Dialog
// thread only.
#include <array>

#include "alarms/alarm_tables.h"

extern std::array<bool, kAlarmCount + 1> ArmFlags;
extern std::array<bool, kAlarmCount + 1> PmFlags;
