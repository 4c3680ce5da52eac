#include "clock/clock_tick.h"

#include "alarms/alarm_tables.h"
#include "app/app_state.h"
#include "clock/alarm_match.h"
#include "clock/ring_state.h"
#include "clock/time_text.h"
#include "inspiration/saying_schedule.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "speech/speech.h"
#include "ui/control_ids.h"

void (*AlarmESayingRefresh)() = RefreshAlarmESaying;

namespace {

// Says the ringing alarm's text; runs without the ring lock, since speaking,
// fetching and showing text in the window all take long or wait.
void announce(const RingAnnouncement& announcement) {
  if (announcement.alarm == kAlarmE && announcement.ringTick == 1) AlarmESayingRefresh();
  TextToSpeak = AlarmTextOf(announcement.alarm);
  ShowAndSpeak();
}

}  // namespace

void ClockTick() {
  TimeNow = timeOfDay();
  MakeTimeText();
  // Every tick, changed or not; waits while the dialog thread is busy.
  const WindowHandle window = MainWindow.load();
  if (window != 0) setControlText(window, IDC_TIME, TimeText);

  // Times and arm states from one snapshot, so no pair is seen half changed.
  const int match = MatchingAlarm(AlarmScheduleNow(), CurrentHour, CurrentMinute);
  const RingAnnouncement announcement = AdvanceRing(match);
  if (announcement.alarm != 0) announce(announcement);

  sleepMs(500);
  pumpOneMessage(1);
}
