#include <gtest/gtest.h>

#include <thread>

#include "alarms/alarm_tables.h"
#include "app/app_state.h"
#include "app/startup.h"
#include "clock/ring_state.h"
#include "platform/memory/memory_dialog.h"
#include "platform/recording/recording_voice.h"
#include "tests/app/fake_system.h"
#include "tests/support/simulated_clock.h"

namespace {

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QuitFlag = false;
    MainWindow = 0;
    resetFakeSystem();
    resetSimulatedClock();
    resetRecordingVoice();
    resetMemoryToolkit();
    setSpeakingObserver([](const Text& text) { logStartupEvent("speak " + text); });
  }
  void TearDown() override {
    setSpeakingObserver(nullptr);
    QuitFlag = false;
  }

  // Sets QuitFlag during the n-th pause of the start-up thread's wait.
  static void quitAfterSleeps(int count) {
    setSleepObserver([count, seen = 0](std::uint32_t ms) mutable {
      logStartupEvent("sleep " + std::to_string(ms));
      if (++seen == count) QuitFlag = true;
    });
  }
};

TEST_F(StartupTest, StepsHappenInTheirOrder) {
  quitAfterSleeps(3);
  EXPECT_EQ(BrightquillMain(), 0);

  const std::string folder = "c:\\quillhaven";
  const std::vector<std::string> expected = {
      "apartment",
      "common controls",
      "make folder " + folder,
      "claim lock " + folder,
      "speak " + kGreeting,
      "open " + folder + "\\qhsettoring1.txt",
      "open " + folder + "\\qhsettospeak1.txt",
      "open " + folder + "\\qhsettoring2.txt",
      "open " + folder + "\\qhsettospeak2.txt",
      "open " + folder + "\\qhsettoring3.txt",
      "open " + folder + "\\qhsettospeak3.txt",
      "open " + folder + "\\qhsettoring4.txt",
      "open " + folder + "\\qhsettospeak4.txt",
      "open " + folder + "\\qhsettoring5.txt",
      "open " + folder + "\\qhsettoarm.txt",
      "start dialog",
      "start clock",
      "sleep 500",
      "sleep 500",
      "sleep 500",
      "close dialog",
      "close clock",
  };
  EXPECT_EQ(startupEvents(), expected);
  // This thread never speaks again after the greeting.
  EXPECT_EQ(liveVoiceCount(), 0);
  EXPECT_EQ(RingTickLimit, 600);
  EXPECT_EQ(SettingsFolder, folder);
}

TEST_F(StartupTest, MissingSettingsGiveTheDefaults) {
  quitAfterSleeps(1);
  BrightquillMain();
  for (int alarm = 1; alarm <= kAlarmCount; ++alarm) {
    EXPECT_EQ(AlarmTimeOf(alarm).hour, 0) << alarm;
    EXPECT_EQ(AlarmTimeOf(alarm).minute, 0) << alarm;
  }
  EXPECT_EQ(AlarmTextOf(2), "alarm 2 active.");
  EXPECT_EQ(AlarmTextOf(kAlarmE), "");
  EXPECT_EQ(ArmStringNow(), "     ");
}

TEST_F(StartupTest, GreetingTellsWhoWeAreInOrder) {
  const std::vector<std::string> parts = {"loading", "B Q C", "Version 1.00", "2026",
                                          "Brightquill Software", "w w w dot brightquill dot com",
                                          "free clock", "inspirational sayings", "semi-daily"};
  size_t from = 0;
  for (const auto& part : parts) {
    const size_t at = kGreeting.find(part, from);
    ASSERT_NE(at, std::string::npos) << part;
    from = at + part.size();
  }
}

TEST_F(StartupTest, ASecondClockShowsTheFirstAndEndsWithoutSpeakingOrReading) {
  holdSingleInstanceElsewhere();
  setSleepObserver([](std::uint32_t) {
    ADD_FAILURE() << "a second clock waited";
    QuitFlag = true;
  });
  EXPECT_EQ(BrightquillMain(), 0);
  const std::vector<std::string> expected = {
      "apartment",
      "common controls",
      "make folder c:\\quillhaven",
      "claim lock c:\\quillhaven",
      "show running c:\\quillhaven BQC (www.brightquill.com) v1.00  (C) 2026 Brightquill Software",
      "apartment end",
  };
  EXPECT_EQ(startupEvents(), expected);
}

class ThreadStartFailure : public StartupTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ThreadStartFailure, EndsWithoutWaiting) {
  failThreadStart(GetParam());
  setSleepObserver([](std::uint32_t) { FAIL() << "start-up waited for a flag nothing can set"; });
  EXPECT_EQ(BrightquillMain(), 0);
  EXPECT_TRUE(QuitFlag);
}

INSTANTIATE_TEST_SUITE_P(EitherThread, ThreadStartFailure, ::testing::Values("dialog", "clock"));

TEST_F(StartupTest, WindowThatCannotBeMadeEndsTheProgram) {
  failNextDialog();
  EXPECT_EQ(DialogThread(0), 0u);
  EXPECT_TRUE(QuitFlag);
  const auto events = startupEvents();
  EXPECT_EQ(events.front(), "apartment");
  EXPECT_EQ(events.back(), "apartment end");
}

TEST_F(StartupTest, CloseCommandEndsTheProgram) {
  std::thread dialogThread([] { DialogThread(0); });
  // Wait (bounded) for the window to run, then use its own close command.
  WindowHandle window = 0;
  for (int tries = 0; tries < 5000 && (window == 0 || !dialogState(window).running); ++tries) {
    window = lastCreatedDialog();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_NE(window, 0u);
  EXPECT_FALSE(QuitFlag);
  sendToDialog(window, 0x0112 /* WM_SYSCOMMAND */, 0xF060 /* SC_CLOSE */, 0);
  dialogThread.join();
  EXPECT_TRUE(QuitFlag);
  EXPECT_FALSE(dialogState(window).exists);
}

}  // namespace
