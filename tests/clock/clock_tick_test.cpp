#include <gtest/gtest.h>

#include <algorithm>

#include "clock/clock_thread.h"
#include "clock/clock_tick.h"
#include "clock/ring_state.h"
#include "clock/time_text.h"
#include "platform/dialog.h"
#include "platform/recording/recording_desktop_notice.h"
#include "speech/speech.h"
#include "tests/clock/clock_test_support.h"
#include "ui/control_ids.h"

namespace {

using namespace clock_test;

std::vector<int> announcementTicks() {
  std::vector<int> ticks;
  for (int tick = 1; tick <= 571; tick += 30) ticks.push_back(tick);
  return ticks;
}

TEST_F(ClockTest, RingAnnouncesTwentyTimesAndEndsAtTick601) {
  setSimulatedTime(7, 30, 0);
  armAlarm(1, 7, 30, "wake up");

  std::vector<int> spokenOn;
  for (int tick = 1; tick <= 600; ++tick) {
    const std::size_t before = spokenUtterances().size();
    ClockTick();
    if (spokenUtterances().size() > before) spokenOn.push_back(tick);
    const RingState ring = RingStateNow();
    ASSERT_EQ(ring.ringingAlarm, 1) << "tick " << tick;
    ASSERT_EQ(ring.ringTick, tick);
  }
  EXPECT_EQ(spokenOn, announcementTicks());
  EXPECT_EQ(spokenTexts(), std::vector<Text>(20, "wake up"));

  ClockTick();  // what would be tick 601 ends the ring
  EXPECT_EQ(RingStateNow().ringingAlarm, 0);
  EXPECT_EQ(RingStateNow().ringTick, 0);

  // The alarm's minute is long over, so the ring does not start again.
  EXPECT_TRUE(tickAndListen(200).empty());
  EXPECT_EQ(RingStateNow().ringTick, 0);
}

TEST_F(ClockTest, RingLimitIsCountedInTicks) {
  RingTickLimit = 40;
  setSimulatedTime(7, 30, 0);
  armAlarm(2, 7, 30, "short");
  EXPECT_EQ(tickAndListen(40), (std::vector<int>{1, 31}));
  ClockTick();
  EXPECT_EQ(RingStateNow().ringingAlarm, 0);
}

TEST_F(ClockTest, LatestArmedAlarmOfTheSameMinuteRings) {
  setSimulatedTime(7, 30, 0);
  armAlarm(2, 7, 30, "bee");
  armAlarm(4, 7, 30, "dee");
  ClockTick();
  EXPECT_EQ(RingStateNow().ringingAlarm, 4);
  EXPECT_EQ(spokenTexts(), std::vector<Text>{"dee"});
}

TEST_F(ClockTest, UnarmedAlarmRingsAtTheNextTickOnceArmed) {
  setSimulatedTime(7, 30, 0);
  StoreAlarmTime(3, AlarmTime{7, 30});
  StoreAlarmText(3, "see");
  EXPECT_TRUE(tickAndListen(5).empty());
  EXPECT_EQ(RingStateNow().ringingAlarm, 0);

  StoreArmString("  A  ");
  EXPECT_EQ(tickAndListen(1), std::vector<int>{1});
  EXPECT_EQ(RingStateNow().ringingAlarm, 3);
  EXPECT_EQ(RingStateNow().ringTick, 1);
}

TEST_F(ClockTest, AlarmOfAnotherHourOrMinuteDoesNotRing) {
  setSimulatedTime(19, 30, 0);
  armAlarm(1, 7, 30, "morning");  // same minute, twelve hours off
  armAlarm(2, 19, 31, "later");
  EXPECT_TRUE(tickAndListen(3).empty());
}

TEST_F(ClockTest, LaterAlarmTakesOverARingWithoutRestartingIt) {
  setSimulatedTime(7, 30, 0);
  armAlarm(1, 7, 30, "alpha");
  armAlarm(3, 7, 32, "charlie");

  int takeoverTick = 0;
  std::vector<int> spokenOn;
  for (int tick = 1; tick <= 600; ++tick) {
    const std::size_t before = spokenUtterances().size();
    ClockTick();
    if (spokenUtterances().size() > before) spokenOn.push_back(tick);
    const RingState ring = RingStateNow();
    if (ring.ringingAlarm == 3 && takeoverTick == 0) takeoverTick = tick;
    ASSERT_EQ(ring.ringTick, tick);
  }
  ASSERT_GT(takeoverTick, 200);  // two minutes of ticks later
  EXPECT_EQ(spokenOn, announcementTicks());

  const std::vector<Text> texts = spokenTexts();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const int tick = spokenOn[i];
    EXPECT_EQ(texts[i], tick < takeoverTick ? "alpha" : "charlie") << "tick " << tick;
  }
  ClockTick();
  EXPECT_EQ(RingStateNow().ringingAlarm, 0);  // 600 ticks after A's ring began
}

TEST_F(ClockTest, DisarmingOrMovingTheRingingAlarmDoesNotStopIt) {
  setSimulatedTime(7, 30, 0);
  armAlarm(1, 7, 30, "keep going");
  ClockTick();
  StoreArmString("     ");
  StoreAlarmTime(1, AlarmTime{9, 0});

  EXPECT_EQ(tickAndListen(30), std::vector<int>{30});  // ring tick 31
  EXPECT_EQ(RingStateNow().ringingAlarm, 1);
  EXPECT_EQ(RingStateNow().ringTick, 31);
  EXPECT_EQ(spokenTexts(), (std::vector<Text>{"keep going", "keep going"}));
}

TEST_F(ClockTest, AlarmEFetchesASayingOnceAtTheStartOfEachRing) {
  setSimulatedTime(7, 30, 0);
  armAlarm(5, 7, 30, "old saying");

  EXPECT_EQ(tickAndListen(601).size(), 20u);
  EXPECT_EQ(refreshCalls, 1);
  // The fetched saying is spoken from the first announcement on.
  EXPECT_EQ(spokenTexts(), std::vector<Text>(20, "saying 1"));

  // A second ring of E fetches again, once.
  const std::int64_t now = simulatedMilliseconds() / 60000;
  armAlarm(5, static_cast<int>(now / 60), static_cast<int>(now % 60 + 1), "saying 1");
  tickAndListen(800);
  EXPECT_EQ(refreshCalls, 2);
  EXPECT_EQ(spokenTexts().back(), "saying 2");
}

TEST_F(ClockTest, AlarmETakingOverARingDoesNotFetch) {
  setSimulatedTime(7, 30, 0);
  armAlarm(1, 7, 30, "alpha");
  armAlarm(5, 7, 31, "previous saying");
  const std::vector<int> spokenOn = tickAndListen(601);
  EXPECT_EQ(spokenOn.size(), 20u);
  EXPECT_EQ(refreshCalls, 0);
  EXPECT_EQ(spokenTexts().back(), "previous saying");
}

TEST_F(ClockTest, EmptyAlarmTextIsStillSpoken) {
  setSimulatedTime(6, 0, 0);
  armAlarm(5, 6, 0, "");
  AlarmESayingRefresh = [] { ++refreshCalls; };  // a fetch that found nothing
  ClockTick();
  EXPECT_EQ(spokenTexts(), std::vector<Text>{""});
}

// Daylight-saving days, as a change of the zone's offset at 2:00 local time:
// the clock jumps to 3:00 in spring and back to 1:00 in autumn. An alarm in
// the skipped hour rings at the jump, due but not late; one in the repeated
// hour rings at each pass; a ring that runs across the change still ends
// after its 600 ticks.
TEST_F(ClockTest, DaylightSavingDaysRingInEachMinuteShownAndEveryRingEnds) {
  constexpr std::int64_t kMinuteMs = 60000;
  const struct {
    const char* what;
    int hourAfterTwo;  // what 2:00:00 becomes
    int alarmHour;
    int alarmMinute;
    int rings;
  } cases[] = {
      {"spring, in the skipped hour", 3, 2, 30, 1},
      {"spring, ringing across the change", 3, 1, 58, 1},
      {"autumn, in the repeated hour", 1, 1, 30, 2},
      {"autumn, ringing across the change", 1, 1, 58, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    resetProgramForTest();
    // 0:25 UTC is 1:25 in a zone an hour east, whose rules change at 2:00.
    setSimulatedTime(0, 25, 0);
    const std::int64_t changeAt = simulatedUtcMilliseconds() + 35 * kMinuteMs;
    setSimulatedZone(60, changeAt, 60 + (c.hourAfterTwo - 2) * 60);
    // Quiet stretches pass faster: a tick every 5 s still sees every minute.
    setSleepObserver([](std::uint32_t milliseconds) {
      if (milliseconds == 500 && RingStateNow().ringingAlarm == 0) jumpSimulatedTime(4500);
    });
    armAlarm(1, c.alarmHour, c.alarmMinute, "up");
    // Until ten minutes after the hour that follows the change.
    const std::int64_t until = (c.hourAfterTwo + 1) * 60 * kMinuteMs + 10 * kMinuteMs;
    int rings = 0;
    int longest = 0;
    auto changed = [&] { return simulatedUtcMilliseconds() >= changeAt; };
    for (int tick = 0; tick < 20000 && !(changed() && simulatedMilliseconds() >= until); ++tick) {
      ClockTick();
      const RingState ring = RingStateNow();
      if (ring.ringTick == 1) ++rings;
      longest = std::max(longest, static_cast<int>(ring.ringTick));
    }
    setSleepObserver(nullptr);
    EXPECT_TRUE(changed());
    EXPECT_GE(simulatedMilliseconds(), until);
    EXPECT_EQ(rings, c.rings);
    // Every announcement is the alarm's text alone: none is late.
    EXPECT_EQ(spokenTexts(), std::vector<Text>(20u * static_cast<unsigned>(c.rings), "up"));
    EXPECT_LE(longest, 600);
    EXPECT_EQ(RingStateNow().ringingAlarm, 0);
  }
}

// The wall clock jumps at 7:29:50, as after a sleep, a stalled tick or a
// change of zone, over alarm A at 7:30. Skipped by up to 15 minutes, it rings
// and first says how late; later, one notice is given instead, also on the
// desktop. A step of a minute or less, or back, rings as ever.
TEST_F(ClockTest, SkippedMinutesRingLateOrGiveOneMissedNotice) {
  constexpr std::int64_t kMinuteMs = 60000;
  const Text missedA = "Alarm A, set for 7:30 a.m., was missed.";
  const struct {
    const char* what;
    std::int64_t jumpMs;
    int zoneMinutes;                   // the zone's offset after the jump
    int hourA, minuteA, minuteOfDayC;  // C at this minute of the day; 0: not armed
    std::vector<Text> saidFirst;       // then only the alarm's text, "up"
    int rings;
    bool missed;
    bool silencedFirst = false;  // "Silencer" pressed just before the jump
  } cases[] = {
      {"a normal minute", 0, 0, 7, 30, 0, {"up"}, 1, false},
      {"a sleep of 10 minutes right after Silencer", 10 * kMinuteMs, 0, 7, 30, 0,
       {"Alarm A, set for 7:30 a.m., rings 10 minutes late. up"}, 1, false, true},
      {"a sleep of 10 minutes", 10 * kMinuteMs, 0, 7, 30, 0,
       {"Alarm A, set for 7:30 a.m., rings 10 minutes late. up"}, 1, false},
      {"a stall of 90 s, 80 s past the minute", 90000, 0, 7, 30, 0,
       {"Alarm A, set for 7:30 a.m., rings 1 minute late. up"}, 1, false},
      {"a sleep of 2 hours", 120 * kMinuteMs, 0, 7, 30, 0, {missedA}, 0, true},
      {"a sleep of 25 hours", 25 * 60 * kMinuteMs, 0, 7, 30, 0, {missedA}, 0, true},
      {"two alarms missed at once", 120 * kMinuteMs, 0, 7, 30, 7 * 60 + 40,
       {"Alarm A, set for 7:30 a.m., and alarm C, set for 7:40 a.m., were missed."}, 0, true},
      {"one missed, one late: the notice first", 120 * kMinuteMs, 0, 7, 30, 9 * 60 + 20,
       {missedA, "Alarm C, set for 9:20 a.m., rings 10 minutes late. up"}, 1, true},
      {"a zone moved east: due, not late", 0, 60, 7, 30, 0, {"up"}, 1, false},
      {"the clock set back 10 minutes: rings when 7:25 comes", -10 * kMinuteMs, 0, 7, 25, 0,
       {"up"}, 1, false},
      {"an hour of 153 in 25 hours", 25 * 60 * kMinuteMs, 0, 153, 30, 0, {}, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    resetProgramForTest();
    setSimulatedTime(7, 29, 40);
    armAlarm(1, c.hourA, c.minuteA, "up");
    if (c.minuteOfDayC > 0) armAlarm(3, c.minuteOfDayC / 60, c.minuteOfDayC % 60, "up");
    ASSERT_TRUE(tickAndListen(20).empty());
    if (c.silencedFirst) SilenceRinging();
    jumpSimulatedTime(c.jumpMs);
    setSimulatedZone(c.zoneMinutes);
    int rings = 0;
    for (int tick = 0; tick < 1300; ++tick) {
      ClockTick();
      if (RingStateNow().ringTick == 1) ++rings;
    }
    EXPECT_EQ(rings, c.rings);
    const std::vector<Text> said = spokenTexts();
    ASSERT_EQ(said.size(), (c.missed ? 1u : 0u) + 20u * static_cast<unsigned>(c.rings));
    const auto rest = said.begin() + static_cast<std::ptrdiff_t>(c.saidFirst.size());
    EXPECT_EQ(std::vector<Text>(said.begin(), rest), c.saidFirst);
    EXPECT_EQ(std::count(rest, said.end(), "up"), said.end() - rest);
    const std::vector<DesktopNotice> notices = desktopNotices();
    ASSERT_EQ(notices.size(), c.missed ? 1u : 0u);
    if (c.missed) {
      EXPECT_EQ(notices.front().body, c.saidFirst.front());
    }
  }
}

// A dialog on this thread with the two boxes the clock writes to.
WindowHandle makeClockWindow() {
  const WindowHandle window = createDialog(0, "clock", 0, 0, 271, 193, 0, 0);
  addControl(window, ControlKind::EditBox, IDC_TIME, "", 5, 5, 115, 30);
  addControl(window, ControlKind::EditBox, IDC_SPEAK_TEXT, "", 10, 145, 250, 15);
  MainWindow = window;
  return window;
}

TEST_F(ClockTest, TimeBoxIsSetOnEveryTick) {
  const WindowHandle window = makeClockWindow();
  setSimulatedTime(7, 5, 9);
  ClockTick();
  EXPECT_EQ(controlState(window, IDC_TIME).text, " 7:05:09 a");

  // Typed text is overwritten by the next tick even when the time is unchanged.
  typeIntoControl(window, IDC_TIME, "typed");
  setSimulatedTime(7, 5, 9);
  ClockTick();
  EXPECT_EQ(controlState(window, IDC_TIME).text, " 7:05:09 a");

  setSimulatedTime(23, 59, 59, 600);
  ClockTick();
  EXPECT_EQ(controlState(window, IDC_TIME).text, "11:59:59 p");
  ClockTick();  // past midnight
  EXPECT_EQ(controlState(window, IDC_TIME).text, "12:00:00 a");
  EXPECT_EQ(TimeText.size(), 10u);
}

TEST_F(ClockTest, RingShowsItsTextInTheSpeakBoxBeforeSpeaking) {
  const WindowHandle window = makeClockWindow();
  Text shownWhileSpeaking;
  setSpeakingObserver([&](const Text&) {
    shownWhileSpeaking = controlState(window, IDC_SPEAK_TEXT).text;
  });
  setSimulatedTime(7, 30, 0);
  armAlarm(2, 7, 30, "time to rise");
  ClockTick();
  EXPECT_EQ(shownWhileSpeaking, "time to rise");
  EXPECT_EQ(controlState(window, IDC_SPEAK_TEXT).text, "time to rise");
  // Announcing takes its pause before speaking, then the tick's own pause.
  EXPECT_GE(totalSleptMilliseconds(), 250 + 500);
}

TEST_F(ClockTest, QuietTickPausesHalfASecond) {
  setSimulatedTime(7, 30, 0);
  ClockTick();
  EXPECT_GE(totalSleptMilliseconds(), 500);
  EXPECT_LT(totalSleptMilliseconds(), 550);
}

}  // namespace
