#pragma once
// The local time of day and plain pauses. Logic code takes all of its time
// from here, so tests can link a simulated clock in place of the real one.
#include <cstdint>

#include "platform/text.h"

// Local time as eight characters "hh:mm:ss", 24-hour clock, zero-padded.
Text timeOfDay();
void sleepMs(std::uint32_t milliseconds);

// A date and time of the local wall clock, to the second.
struct LocalDateTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;   // 0..23
  int minute = 0;
  int second = 0;
};

// One reading of the system's wall clock: the UTC time and the local date
// and time that the zone rules in force give for it, read together.
struct WallClockReading {
  std::int64_t utcMilliseconds = 0;  // since 1970-01-01 00:00 UTC
  LocalDateTime local;
};
WallClockReading readWallClock();
// "hh:mm:ss" of a local time, as timeOfDay gives it.
Text timeOfDayText(const LocalDateTime& local);
// The local date and time that the system's zone rules give for a UTC time.
LocalDateTime localTimeAt(std::int64_t utcSeconds);
