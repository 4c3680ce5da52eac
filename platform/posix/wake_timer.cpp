#include "platform/wake_timer.h"

#include <errno.h>
#include <sys/timerfd.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

std::mutex wakeMutex;
// The one timer on the alarm clock, which brings the computer out of
// suspend when it is due; made at the first wake-up time.
int wakeTimer = -1;
bool wakeTimerTried = false;

// Makes the timer once. Without it the clock goes on as before: an alarm
// missed during sleep rings late or is reported on waking, so the reason is
// said once, not at every alarm.
bool haveWakeTimer() {
  if (wakeTimerTried) return wakeTimer >= 0;
  wakeTimerTried = true;
  wakeTimer = timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC);
  if (wakeTimer >= 0) return true;
  const int error = errno;
  std::fprintf(stderr,
               "brightquill: cannot wake the computer for alarms: %s"
               " (see \"When the computer sleeps\" in man brightquill)\n",
               error == EPERM ? "no CAP_WAKE_ALARM" : std::strerror(error));
  return false;
}

// Sets the timer to a due time, or off for a zero one.
void setWakeTimer(time_t utcSeconds) {
  itimerspec due{};
  due.it_value.tv_sec = utcSeconds;
  timerfd_settime(wakeTimer, TFD_TIMER_ABSTIME, &due, nullptr);
}

}  // namespace

void setWakeTime(std::int64_t utcSeconds) {
  std::lock_guard<std::mutex> hold(wakeMutex);
  if (!haveWakeTimer()) return;
  // A time before 1970 is past all the same; zero would switch it off.
  setWakeTimer(static_cast<time_t>(std::max<std::int64_t>(utcSeconds, 1)));
}

void cancelWakeTime() {
  std::lock_guard<std::mutex> hold(wakeMutex);
  if (wakeTimer >= 0) setWakeTimer(0);
}

// Does nothing on Linux. On Windows this holds off the system's own return
// to sleep about two minutes after a wake by timer, which would cut a ring
// short; Linux has no such return: after a resume the desktop counts its
// idle time afresh, and its idle suspend comes many minutes later. A desktop
// whose idle suspend falls due while a ring runs still suspends; holding it
// off would take a logind inhibitor over the system bus, which only a
// running logind with its polkit rules can answer.
void keepAwake(bool) {}
