#include <gtest/gtest.h>

#include <chrono>
#include <cctype>
#include <tuple>

#include "platform/clock.h"
#include "platform/number_text.h"

namespace {

TEST(TimeOfDay, IsEightCharactersHhMmSs) {
  const Text now = timeOfDay();
  ASSERT_EQ(now.size(), 8u) << now;
  EXPECT_EQ(now[2], ':');
  EXPECT_EQ(now[5], ':');
  for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u}) {
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(now[i]))) << now;
  }
  // Read back the way the program reads it.
  EXPECT_LE(textToNumber(substring(now, 1, 2)), 23) << now;
  EXPECT_LE(textToNumber(substring(now, 4, 2)), 59) << now;
  EXPECT_LE(textToNumber(substring(now, 7, 2)), 59) << now;
}

TEST(WallClock, LocalTimeGoesWithItsUtcTimeAndTheDateIsRight) {
  const WallClockReading now = readWallClock();
  const auto system = std::chrono::system_clock::now().time_since_epoch();
  EXPECT_NEAR(now.utcMilliseconds / 1000, std::chrono::floor<std::chrono::seconds>(system).count(), 5);
  const LocalDateTime again = localTimeAt(now.utcMilliseconds / 1000);
  EXPECT_EQ(std::tie(again.year, again.month, again.day, again.hour, again.minute, again.second),
            std::tie(now.local.year, now.local.month, now.local.day, now.local.hour,
                     now.local.minute, now.local.second));
  // 2026-03-23 12:00 UTC is that day, or one either side, in every zone.
  const LocalDateTime noon = localTimeAt(1774267200);
  EXPECT_EQ(std::tie(noon.year, noon.month), std::make_tuple(2026, 3));
  EXPECT_NEAR(noon.day, 23, 1);
}

TEST(SleepMs, PausesAtLeastAboutTheTimeAsked) {
  const auto before = std::chrono::steady_clock::now();
  sleepMs(30);
  const auto slept = std::chrono::steady_clock::now() - before;
  // Timer granularity may end a pause a little early, never much.
  EXPECT_GE(slept, std::chrono::milliseconds(25));
  EXPECT_LT(slept, std::chrono::seconds(5));
}

}  // namespace
