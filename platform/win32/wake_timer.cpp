#include "platform/wake_timer.h"

#include <windows.h>

#include <algorithm>
#include <mutex>

namespace {

std::mutex wakeMutex;
// The one waitable timer that brings the computer out of sleep when it is
// due. Nothing waits on it: the clock keeps its own pace.
HANDLE wakeTimer = nullptr;

// A due time as Windows counts it: 100 ns units since 1601-01-01 UTC.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
// Far past any alarm, and far below an overflow of the ticks.
constexpr std::int64_t kLatestSeconds = 100'000'000'000;

}  // namespace

void setWakeTime(std::int64_t utcSeconds) {
  std::lock_guard<std::mutex> hold(wakeMutex);
  if (wakeTimer == nullptr) wakeTimer = CreateWaitableTimerW(nullptr, TRUE, nullptr);
  if (wakeTimer == nullptr) return;
  // A positive due time is absolute; zero or less would count from now.
  LARGE_INTEGER due;
  due.QuadPart =
      (std::clamp<std::int64_t>(utcSeconds, 0, kLatestSeconds) + kSecondsFrom1601To1970) *
      kTicksPerSecond;
  // Where the system cannot wake for timers it still sets the timer and only
  // says so through GetLastError (ERROR_NOT_SUPPORTED; Wine gives
  // ERROR_TIMER_RESUME_IGNORED): the clock goes on as before either way.
  SetWaitableTimer(wakeTimer, &due, 0, nullptr, nullptr, TRUE);
}

void cancelWakeTime() {
  std::lock_guard<std::mutex> hold(wakeMutex);
  if (wakeTimer != nullptr) CancelWaitableTimer(wakeTimer);
}

// A computer woken by a timer goes back to sleep after about two minutes
// unless a thread asks for it to stay awake. The request belongs to the
// calling thread, so on and off come from the same one (the clock thread).
void keepAwake(bool on) {
  SetThreadExecutionState(on ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED
                             : ES_CONTINUOUS);
}
