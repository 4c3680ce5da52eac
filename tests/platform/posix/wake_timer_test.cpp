#include "platform/wake_timer.h"

#include <gtest/gtest.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Each alarm-clock timer of this process (clock id 8, CLOCK_REALTIME_ALARM)
// as its settime flags, its due time in seconds since 1970 ("off" once none
// is left) and the number of times it has fired.
std::vector<std::string> alarmTimers() {
  std::vector<std::string> timers;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fdinfo")) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::ifstream info(entry.path());
    std::stringstream text;
    text << info.rdbuf();
    const std::string fields = text.str();
    if (fields.find("\nclockid: 8\n") == std::string::npos) continue;
    long long flags = -1, seconds = 0, nanoseconds = 0, ticks = -1;
    std::istringstream(fields.substr(fields.find("settime flags:") + 14)) >> std::oct >> flags;
    std::istringstream(fields.substr(fields.find("ticks:") + 6)) >> ticks;
    std::sscanf(fields.c_str() + fields.find("it_value:"), "it_value: (%lld, %lld)", &seconds,
                &nanoseconds);
    // The kernel shows what is left; from the time read just before, that
    // gives the due time to well within half a second.
    const long long due =
        now.tv_sec + seconds + (now.tv_nsec + nanoseconds + 500'000'000) / 1'000'000'000;
    const bool off = seconds == 0 && nanoseconds == 0;
    timers.push_back(std::to_string(flags) + " " + (off ? "off" : std::to_string(due)) + " " +
                     std::to_string(ticks));
  }
  return timers;
}

bool holdsWakeAlarm() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("CapEff:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> 35) & 1;
  }
  return false;
}

// platform_tests_without_wake_alarm runs this without CAP_WAKE_ALARM;
// everywhere else it needs the capability, which only root holds here.
TEST(WakeTimerTest, OneAlarmClockTimerIsSetReplacedAndCancelled) {
  const bool dropped = getenv("BQ_WITHOUT_WAKE_ALARM") != nullptr;
  if (dropped) {
    ASSERT_FALSE(holdsWakeAlarm()) << "CAP_WAKE_ALARM was not taken away";
  } else if (!holdsWakeAlarm()) {
    GTEST_SKIP() << "needs CAP_WAKE_ALARM (root): the timer cannot be made without it;"
                    " platform_tests_without_wake_alarm checks the way without";
  }
  const time_t now = time(nullptr);
  std::vector<std::vector<std::string>> seen;
  testing::internal::CaptureStderr();
  cancelWakeTime();
  seen.push_back(alarmTimers());
  setWakeTime(now + 3600);
  seen.push_back(alarmTimers());
  setWakeTime(now + 7200);
  seen.push_back(alarmTimers());
  // The kernel goes on showing a cancelled alarm timer's old time, so a
  // cancel shows as a due time that passes without the timer firing.
  setWakeTime(now + 2);
  cancelWakeTime();
  std::this_thread::sleep_until(std::chrono::system_clock::from_time_t(now + 2) +
                                std::chrono::milliseconds(500));
  seen.push_back(alarmTimers());
  const std::string said = testing::internal::GetCapturedStderr();

  if (dropped) {
    EXPECT_EQ(said,
              "brightquill: cannot wake the computer for alarms: no CAP_WAKE_ALARM"
              " (see \"When the computer sleeps\" in man brightquill)\n");
    for (const auto& timers : seen) EXPECT_TRUE(timers.empty());
    return;
  }
  EXPECT_EQ(said, "");
  // Flags 1: an absolute time, which follows a change of the system clock.
  const auto at = [](time_t due) {
    return std::vector<std::string>{"1 " + std::to_string(due) + " 0"};
  };
  const std::vector<std::vector<std::string>> expected = {
      {}, at(now + 3600), at(now + 7200), {"1 off 0"}};
  EXPECT_EQ(seen, expected);
}

}  // namespace
