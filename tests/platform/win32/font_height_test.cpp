#include "platform/win32/dialog/font_height.h"

#include <gtest/gtest.h>

namespace {

struct Height {
  double points;
  int logPixelsY;
  int expected;
};

class FontHeightTest : public ::testing::TestWithParam<Height> {};

TEST_P(FontHeightTest, IsMinusPointsTimesDpiOver72RoundedHalfToEven) {
  const Height& h = GetParam();
  EXPECT_EQ(fontHeightForPoints(h.points, h.logPixelsY), h.expected)
      << h.points << " pt at " << h.logPixelsY << " dpi";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontHeightTest,
    ::testing::Values(
        // The program's two fonts and the dialog font on a 96-dpi display.
        Height{24, 96, -32}, Height{10, 96, -13}, Height{8, 96, -11},
        // Exact halves go to the even neighbour: 12.5, 37.5, 3.5, 0.5.
        Height{9, 100, -12}, Height{27, 100, -38}, Height{3, 84, -4}, Height{0.5, 72, 0},
        Height{1.5, 72, -2},
        // Just off a half rounds to the nearer integer.
        Height{9.01, 100, -13}, Height{8.99, 100, -12},
        // Larger displays and fractional sizes.
        Height{10, 120, -17}, Height{24, 144, -48}, Height{7.5, 96, -10}));

}  // namespace
