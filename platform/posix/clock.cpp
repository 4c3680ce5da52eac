#include "platform/clock.h"

#include <time.h>

#include "platform/platform_lock.h"

namespace {

// The local time that the zone rules in force give for a UTC second.
// localtime_r keeps the zone it first read; tzset reads it again, so a change
// of zone shows at the next tick (the file is read only when it has changed).
struct tm localAt(time_t utcSecond) {
  struct tm local{};
  PlatformCallLock hold;
  tzset();
  localtime_r(&utcSecond, &local);
  return local;
}

LocalDateTime dateTimeOf(const struct tm& local) {
  return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace

Text timeOfDay() { return timeOfDayText(readWallClock().local); }

WallClockReading readWallClock() {
  struct timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  // Seconds and milliseconds of one reading, so the local time cannot be a
  // second ahead of the UTC time it goes with.
  const std::int64_t milliseconds =
      static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
  return WallClockReading{milliseconds, dateTimeOf(localAt(now.tv_sec))};
}

LocalDateTime localTimeAt(std::int64_t utcSeconds) {
  return dateTimeOf(localAt(static_cast<time_t>(utcSeconds)));
}

void sleepMs(std::uint32_t milliseconds) {
  struct timespec pause{static_cast<time_t>(milliseconds / 1000),
                        static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&pause, &pause) != 0) {
  }
}
