#include "platform/clock.h"

#include <windows.h>

#include <cstdio>

#include "platform/platform_lock.h"

Text timeOfDay() {
  SYSTEMTIME local{};
  {
    PlatformCallLock hold;
    GetLocalTime(&local);
  }
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", static_cast<unsigned>(local.wHour),
                static_cast<unsigned>(local.wMinute), static_cast<unsigned>(local.wSecond));
  return Text(text, 8);
}

void sleepMs(std::uint32_t milliseconds) { Sleep(milliseconds); }
