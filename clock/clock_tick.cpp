#include "clock/clock_tick.h"

#include <optional>

#include "alarms/alarm_tables.h"
#include "app/app_state.h"
#include "clock/alarm_notices.h"
#include "clock/due_alarms.h"
#include "clock/ring_state.h"
#include "clock/time_text.h"
#include "clock/wake_time.h"
#include "inspiration/saying_schedule.h"
#include "platform/clock.h"
#include "platform/desktop_notice.h"
#include "platform/dialog.h"
#include "platform/wake_timer.h"
#include "speech/speech.h"
#include "ui/control_ids.h"

void (*AlarmESayingRefresh)() = RefreshAlarmESaying;

namespace {

// What the clock thread keeps from one tick to the next.
struct TickMemory {
  std::optional<WallClockReading> previous;  // none before the first tick
  bool keptAwake = false;
} memory;

void showTime(const LocalDateTime& local) {
  TimeNow = timeOfDayText(local);
  MakeTimeText();
  // Every tick, changed or not; waits while the dialog thread is busy.
  const WindowHandle window = MainWindow.load();
  if (window != 0) setControlText(window, IDC_TIME, TimeText);
}

// Shown and said like a ring's text, and left on the desktop too.
void giveMissedNotice(const std::vector<int>& missed, const AlarmSchedule& schedule) {
  const Text notice = MissedNotice(missed, schedule);
  TextToSpeak = notice;
  ShowAndSpeak();
  showDesktopNotice(missed.size() > 1 ? "Brightquill: missed alarms" : "Brightquill: missed alarm",
                    notice);
}

Text latenessSentenceOf(const DueAlarms& due, const AlarmSchedule& schedule) {
  if (due.ringing == 0 || due.lateSeconds < 60) return Text();
  return LatenessSentence(due.ringing, schedule.times[due.ringing], due.lateSeconds);
}

// The computer stays awake while a ring runs.
void keepAwakeWhile(bool ringing) {
  if (ringing == memory.keptAwake) return;
  memory.keptAwake = ringing;
  keepAwake(ringing);
}

// Says the ringing alarm's text; runs without the ring lock, since speaking,
// fetching and showing text in the window all take long or wait.
void announce(const RingAnnouncement& announcement) {
  if (announcement.alarm == kAlarmE && announcement.ringTick == 1) AlarmESayingRefresh();
  const Text text = AlarmTextOf(announcement.alarm);
  TextToSpeak = announcement.latenessSentence.empty() || text.empty()
                    ? announcement.latenessSentence + text
                    : announcement.latenessSentence + " " + text;
  ShowAndSpeak();
}

}  // namespace

void ClockTick() {
  // The time shown and the alarms matched come from one reading.
  const WallClockReading now = readWallClock();
  showTime(now.local);

  // Times and arm states from one snapshot, so no pair is seen half changed.
  const AlarmSchedule schedule = AlarmScheduleNow();
  const DueAlarms due = FindDueAlarms(schedule, memory.previous, now);
  memory.previous = now;
  if (!due.missed.empty()) giveMissedNotice(due.missed, schedule);
  // The Silencer's quiet, counted in ticks, covers the rest of the minute it
  // was pressed in; a clock that went past whole minutes (a sleep right after
  // the press) has left that minute, and must not swallow an alarm due since.
  if (due.skippedMinutes) EndSilence();
  const RingStep step = AdvanceRing(due.ringing, latenessSentenceOf(due, schedule));
  keepAwakeWhile(step.ringing);
  if (step.announcement.alarm != 0) announce(step.announcement);
  KeepWakeTimeSet(schedule, now.local);

  sleepMs(500);
  pumpOneMessage(1);
}

void ForgetEarlierTicks() {
  memory = TickMemory{};
  ForgetWakeTime();
}
