#pragma once
// Which armed alarms a tick finds due: the one set to the current minute, as
// ever, and each one whose minute the clock skipped since the previous tick
// (a sleep, a stalled tick, a daylight-saving gap, a zone or clock set
// forward), with how late it is.
#include <cstdint>
#include <optional>
#include <vector>

#include "alarms/alarm_tables.h"
#include "platform/clock.h"

// A skipped alarm later than this is missed instead of ringing.
inline constexpr std::int64_t kLongestLateRingSeconds = 15 * 60;

struct DueAlarms {
  int ringing = 0;              // the latest in A..E of those due; 0: none
  std::int64_t lateSeconds = 0;  // how late it is; 0 for the current minute's
  std::vector<int> missed;       // skipped and too late to ring, in A..E order
  bool skippedMinutes = false;   // the clock went forward over whole minutes
};

// Lateness is the shorter of the UTC time between the two readings (how long
// the clock was away) and the local time since the alarm's minute, so that a
// gap in the local time makes an alarm due but not late. A step of one minute
// or less, any step back, and the first tick (no previous reading) find only
// the current minute's alarm.
DueAlarms FindDueAlarms(const AlarmSchedule& schedule,
                        const std::optional<WallClockReading>& previous,
                        const WallClockReading& now);
