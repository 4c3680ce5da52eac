#include "clock/time_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct TimeCase {
  const char* now;
  int hour;
  int minute;
  const char* text;
};

class MakeTimeTextTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(MakeTimeTextTest, SetsHourMinuteAndTwelveHourText) {
  TimeNow = GetParam().now;
  MakeTimeText();
  EXPECT_EQ(CurrentHour, GetParam().hour);
  EXPECT_EQ(CurrentMinute, GetParam().minute);
  EXPECT_EQ(TimeText, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MakeTimeTextTest,
    ::testing::Values(TimeCase{"00:00:00", 0, 0, "12:00:00 a"},
                      TimeCase{"00:59:59", 0, 59, "12:59:59 a"},
                      TimeCase{"07:05:09", 7, 5, " 7:05:09 a"},
                      TimeCase{"09:05:03", 9, 5, " 9:05:03 a"},
                      TimeCase{"10:00:00", 10, 0, "10:00:00 a"},
                      TimeCase{"11:59:59", 11, 59, "11:59:59 a"},
                      TimeCase{"12:00:00", 12, 0, "12:00:00 p"},
                      TimeCase{"12:30:00", 12, 30, "12:30:00 p"},
                      TimeCase{"13:05:09", 13, 5, " 1:05:09 p"},
                      TimeCase{"21:05:03", 21, 5, " 9:05:03 p"},
                      TimeCase{"23:59:59", 23, 59, "11:59:59 p"}));

TEST(MakeTimeText, EveryHourGivesTenCharactersWithItsTwelveHourValue) {
  for (int hour = 0; hour < 24; ++hour) {
    char now[16];
    std::snprintf(now, sizeof now, "%02d:%02d:%02d", hour, 8, 0);
    TimeNow = now;
    MakeTimeText();

    const int twelve = hour % 12 == 0 ? 12 : hour % 12;
    char expected[16];
    std::snprintf(expected, sizeof expected, "%2d:08:00 %c", twelve, hour < 12 ? 'a' : 'p');
    EXPECT_EQ(CurrentHour, hour);
    EXPECT_EQ(CurrentMinute, 8);
    EXPECT_EQ(TimeText, expected) << "at " << now;
    EXPECT_EQ(TimeText.size(), 10u) << "at " << now;
  }
}

TEST(MakeTimeText, CopiesMinutesAndSecondsWithTheirZeros) {
  for (int minute : {0, 1, 9, 10, 59}) {
    char now[16];
    std::snprintf(now, sizeof now, "15:%02d:0%d", minute, minute % 10);
    TimeNow = now;
    MakeTimeText();
    EXPECT_EQ(CurrentMinute, minute);
    EXPECT_EQ(TimeText.substr(2, 6), std::string(now).substr(2, 6));
  }
}

}  // namespace
