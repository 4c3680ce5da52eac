#include "platform/clock.h"

#include <windows.h>

#include "platform/platform_lock.h"

namespace {

// FILETIME counts 100 ns steps since 1601-01-01 UTC.
constexpr std::int64_t kStepsPerMillisecond = 10000;
constexpr std::int64_t kStepsFrom1601To1970 = 116444736000000000LL;

// The local time that the zone rules in force give for a UTC FILETIME.
LocalDateTime localAt(const FILETIME& utc) {
  SYSTEMTIME utcTime{};
  SYSTEMTIME local{};
  {
    PlatformCallLock hold;
    FileTimeToSystemTime(&utc, &utcTime);
    SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &local);
  }
  return LocalDateTime{local.wYear, local.wMonth,  local.wDay,
                       local.wHour, local.wMinute, local.wSecond};
}

std::int64_t stepsOf(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
}

FILETIME fileTimeOf(std::int64_t steps) {
  return FILETIME{static_cast<DWORD>(steps & 0xFFFFFFFF), static_cast<DWORD>(steps >> 32)};
}

}  // namespace

Text timeOfDay() { return timeOfDayText(readWallClock().local); }

WallClockReading readWallClock() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return WallClockReading{(stepsOf(now) - kStepsFrom1601To1970) / kStepsPerMillisecond,
                          localAt(now)};
}

LocalDateTime localTimeAt(std::int64_t utcSeconds) {
  return localAt(fileTimeOf(utcSeconds * 1000 * kStepsPerMillisecond + kStepsFrom1601To1970));
}

void sleepMs(std::uint32_t milliseconds) { Sleep(milliseconds); }
