#include "platform/wake_timer.h"

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/prctl.h>

#include <filesystem>
#include <fstream>

namespace {

// This process's alarm-clock timers (clock id 8): flags, whole minutes left
// and times fired.
std::string alarmTimers() {
  std::string timers;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fdinfo")) {
    std::stringstream info;
    info << std::ifstream(entry.path()).rdbuf();
    const std::size_t at = info.str().find("clockid: 8\n");
    long long fired, flags, left;
    const char* fields = "clockid: 8 ticks: %lld settime flags: %llo it_value: (%lld,";
    if (at == std::string::npos ||
        std::sscanf(info.str().c_str() + at, fields, &fired, &flags, &left) != 3)
      continue;
    timers += std::to_string(flags) + " " + std::to_string((left + 30) / 60) + " " +
              std::to_string(fired) + ";";
  }
  return timers;
}

// platform_tests_without_wake_alarm runs this without CAP_WAKE_ALARM;
// elsewhere it needs the capability, which only root holds here.
TEST(WakeTimerTest, OneAlarmClockTimerIsSetReplacedAndCancelled) {
  const bool holds = geteuid() == 0 && prctl(PR_CAPBSET_READ, CAP_WAKE_ALARM) == 1;
  const bool dropped = getenv("BQ_WITHOUT_WAKE_ALARM") != nullptr;
  ASSERT_FALSE(dropped && holds) << "CAP_WAKE_ALARM was not taken away";
  if (!holds && !dropped) GTEST_SKIP() << "needs CAP_WAKE_ALARM, which only root holds here";
  const time_t now = time(nullptr);
  testing::internal::CaptureStderr();
  setWakeTime(now + 3600);
  std::string seen = alarmTimers() + "|";
  setWakeTime(now + 7200);
  seen += alarmTimers() + "|";
  // A cancelled alarm timer goes on showing its old due time, so a cancel
  // shows as that time passing without the timer firing.
  setWakeTime(now + 2);
  cancelWakeTime();
  const timespec passed{now + 2, 500'000'000};
  clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &passed, nullptr);
  seen += alarmTimers();
  // Said once for the life of the process; flags 1: absolute times, which
  // follow a change of the system clock.
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            dropped ? "brightquill: cannot wake the computer for alarms: no CAP_WAKE_ALARM"
                      " (see \"When the computer sleeps\" in man brightquill)\n"
                    : "");
  const auto timer = [&](int minutes) {
    return dropped ? "" : "1 " + std::to_string(minutes) + " 0;";
  };
  EXPECT_EQ(seen, timer(60) + "|" + timer(120) + "|" + timer(0));
}

}  // namespace
