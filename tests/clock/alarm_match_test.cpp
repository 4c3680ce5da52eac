#include <gtest/gtest.h>

#include "clock/alarm_match.h"

namespace {

AlarmSchedule scheduleOf(const Text& armString, std::array<AlarmTime, 5> times) {
  AlarmSchedule schedule;
  schedule.armString = armString;
  for (int i = 0; i < 5; ++i) schedule.times[i + 1] = times[i];
  return schedule;
}

TEST(MatchingAlarm, LatestArmedAlarmOfTheTimeWins) {
  const AlarmTime at730{7, 30}, at731{7, 31}, at1930{19, 30};
  const struct {
    Text armString;
    std::array<AlarmTime, 5> times;
    int expected;
  } cases[] = {
      {"AAAAA", {at730, at730, at730, at730, at730}, 5},
      {"AAAA ", {at730, at730, at730, at730, at730}, 4},
      {" A A ", {at730, at730, at730, at730, at730}, 4},
      {"A    ", {at730, at730, at730, at730, at730}, 1},
      {"     ", {at730, at730, at730, at730, at730}, 0},
      {"aAAAA", {at730, at731, at1930, at731, at731}, 0},  // only "A" arms
      {"AAAAA", {at731, at1930, at730, at731, at1930}, 3},
      {"A", {at730, at730, at730, at730, at730}, 1},  // a short arm string
      {"", {at730, at730, at730, at730, at730}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchingAlarm(scheduleOf(c.armString, c.times), 7, 30), c.expected)
        << "arm string \"" << c.armString << "\"";
  }
}

}  // namespace
