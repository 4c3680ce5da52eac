#pragma once
// The alarm tables: each alarm's time, arm state and spoken text. Alarms are
// numbered 1..5 and labelled "A".."E". The dialog thread changes them while
// the clock thread reads them, so every read and write goes through these
// functions, which keep an hour and minute pair, the arm string and each
// text whole.
#include <array>
#include <cstdint>

#include "platform/text.h"

inline constexpr int kAlarmCount = 5;
inline constexpr int kAlarmE = 5;

struct AlarmTime {
  std::int16_t hour = 0;    // 24-hour clock
  std::int16_t minute = 0;
  bool operator==(const AlarmTime&) const = default;
};

// What the clock compares on one tick, taken under one lock.
struct AlarmSchedule {
  std::array<AlarmTime, kAlarmCount + 1> times{};  // index 1..5
  Text armString;                                   // five characters, "A" = armed
  bool operator==(const AlarmSchedule&) const = default;
};

// Start-up: every time 0:00, every text empty, no alarm armed.
void ClearAlarmTables();

AlarmTime AlarmTimeOf(int alarm);
void StoreAlarmTime(int alarm, AlarmTime time);
Text ArmStringNow();
void StoreArmString(const Text& armString);
// A whole copy of the alarm's text.
Text AlarmTextOf(int alarm);
void StoreAlarmText(int alarm, const Text& text);
AlarmSchedule AlarmScheduleNow();

// The settings folder, without a trailing backslash. Set at start-up.
extern Text SettingsFolder;
// The alarm whose "set" was pressed last; 0 while none. Dialog thread only.
extern int CurrentAlarm;
