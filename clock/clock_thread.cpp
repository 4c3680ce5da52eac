#include "clock/clock_thread.h"

#include "app/app_state.h"
#include "clock/clock_tick.h"

std::uint32_t ClockThread(std::uintptr_t) {
  // QuitFlag is looked at once per tick; a tick that has begun runs to its end.
  while (!QuitFlag.load()) ClockTick();
  return 0;
}
