#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "clock/clock_thread.h"
#include "clock/clock_tick.h"
#include "clock/ring_state.h"
#include "speech/speech.h"
#include "tests/clock/clock_test_support.h"

namespace {

using namespace clock_test;

class SilenceRingingTest : public ClockTest {};

TEST_F(SilenceRingingTest, SilenceLastsTwoTicksForEachSecondLeftPlusOne) {
  const struct {
    int second;
    std::uint32_t ticks;
  } cases[] = {{0, 121}, {1, 119}, {30, 61}, {50, 21}, {59, 3}};
  for (const auto& c : cases) {
    setSimulatedTime(7, 30, c.second, 999);
    SilenceRinging();
    EXPECT_EQ(RingStateNow().silenceTicks, c.ticks) << "second " << c.second;
  }
}

TEST_F(SilenceRingingTest, SilencerStopsARingForTheRestOfItsMinute) {
  setSimulatedTime(7, 30, 0);
  armAlarm(1, 7, 30, "ring");
  ASSERT_EQ(tickAndListen(10).size(), 1u);

  SilenceRinging();
  EXPECT_EQ(RingStateNow().ringTick, 0);
  const std::uint32_t silence = RingStateNow().silenceTicks;
  ASSERT_GT(silence, 100u);  // pressed about five seconds into the minute

  for (std::uint32_t tick = 1; tick <= silence; ++tick) {
    ClockTick();
    const RingState ring = RingStateNow();
    ASSERT_EQ(ring.ringingAlarm, 0);
    ASSERT_EQ(ring.ringTick, 0);
    ASSERT_EQ(ring.silenceTicks, silence - tick);
  }
  // The silence has outlasted the alarm's minute: nothing more is said.
  EXPECT_GT(simulatedMilliseconds(), (7 * 60 + 31) * 60000LL);
  EXPECT_TRUE(tickAndListen(100).empty());
  EXPECT_EQ(spokenUtterances().size(), 1u);
}

TEST_F(SilenceRingingTest, SilencerWithoutARingKeepsDueAlarmsQuiet) {
  setSimulatedTime(7, 29, 50);
  SilenceRinging();  // 21 ticks, past the start of 07:30
  armAlarm(2, 7, 30, "bee");
  armAlarm(4, 7, 30, "dee");

  int firstRingTick = 0;
  for (int tick = 1; tick <= 200 && firstRingTick == 0; ++tick) {
    ClockTick();
    if (RingStateNow().ringingAlarm != 0) firstRingTick = tick;
  }
  // Rings on the first tick after the silence ran out, still within 07:30.
  EXPECT_EQ(firstRingTick, 22);
  EXPECT_EQ(RingStateNow().ringingAlarm, 4);
  EXPECT_EQ(RingStateNow().ringTick, 1);
}

TEST_F(SilenceRingingTest, SilencePressedDuringTheAlarmsMinuteCoversAllOfIt) {
  setSimulatedTime(7, 30, 0);
  SilenceRinging();
  armAlarm(1, 7, 30, "ring");
  EXPECT_TRUE(tickAndListen(240).empty());
}

TEST_F(SilenceRingingTest, AlarmDueAfterTheSilenceRingsAtTheFirstFreeTick) {
  setSimulatedTime(7, 30, 59);
  SilenceRinging();  // 3 ticks: the last one falls into 07:31
  armAlarm(3, 7, 31, "next minute");
  EXPECT_EQ(tickAndListen(4), std::vector<int>{4});
}

TEST_F(SilenceRingingTest, RingStartsAfreshOnceASilenceIsOver) {
  setSimulatedTime(7, 30, 0);
  armAlarm(1, 7, 30, "first");
  tickAndListen(3);
  SilenceRinging();
  tickAndListen(static_cast<int>(RingStateNow().silenceTicks));
  // A new alarm in a later minute starts its own count from 1.
  const std::int64_t minute = simulatedMilliseconds() / 60000 + 1;
  armAlarm(2, static_cast<int>(minute / 60), static_cast<int>(minute % 60), "second");
  for (int tick = 0; tick < 300 && RingStateNow().ringingAlarm == 0; ++tick) ClockTick();
  ASSERT_EQ(RingStateNow().ringingAlarm, 2);
  EXPECT_EQ(RingStateNow().ringTick, 1);
  EXPECT_EQ(spokenTexts().back(), "second");
}

// "Silencer" clicked on another thread at every point of a ring: no tick
// ever sees the silence without its ring stop, nor a ring count without a
// ringing alarm, and whatever is announced is the alarm's own text.
TEST_F(SilenceRingingTest, SilencerFromTheDialogThreadIsOneUpdateForTheClock) {
  armAlarm(1, 7, 30, "ring");
  std::atomic<int> ticks{0};
  std::atomic<int> halfUpdates{0};
  setSleepObserver([&](std::uint32_t milliseconds) {
    if (milliseconds != 500) return;
    // Always the last second of the alarm's minute: each silence is 3 ticks.
    setSimulatedTime(7, 30, 59);
    const RingState ring = RingStateNow();
    if (ring.silenceTicks > 0 && ring.ringTick != 0) ++halfUpdates;
    if (ring.ringTick > 0 && ring.ringingAlarm == 0) ++halfUpdates;
    ++ticks;
  });
  setSimulatedTime(7, 30, 59);

  std::thread clockThread([] {
    ClockThread(0);
    ReleaseThreadVoice();
  });
  for (int click = 0; click < 1000; ++click) {
    SilenceRinging();
    // Between clicks the silence runs out and the ring starts again.
    const int until = ticks + 3 + click % 5;
    while (ticks < until) std::this_thread::yield();
  }
  QuitFlag = true;
  clockThread.join();

  EXPECT_EQ(halfUpdates, 0);
  const std::vector<Text> texts = spokenTexts();
  EXPECT_GT(texts.size(), 100u);
  for (const Text& text : texts) ASSERT_EQ(text, "ring");
}

}  // namespace
