#include "platform/clock.h"

#include <time.h>

#include <cstdio>

#include "platform/platform_lock.h"

Text timeOfDay() {
  struct tm local{};
  {
    PlatformCallLock hold;
    time_t now = time(nullptr);
    // localtime_r keeps the zone it first read; tzset reads it again, so a
    // change of zone shows at the next tick (the file is read only when it
    // has changed).
    tzset();
    localtime_r(&now, &local);
  }
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  return Text(text, 8);
}

void sleepMs(std::uint32_t milliseconds) {
  struct timespec pause{static_cast<time_t>(milliseconds / 1000),
                        static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&pause, &pause) != 0) {
  }
}
