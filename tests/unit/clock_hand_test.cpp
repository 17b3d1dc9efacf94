// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include "windows/clock/clock_layout.h"
#include "windows/clock/hand.h"

namespace vel {
namespace {

constexpr LineCoords kStartHand = clock_layout::control("hand").line;

TEST(ClockHand, SweepsWithPiAsTwentyTwoSevenths) {
  ClockHand hand;
  LineCoords line = kStartHand;
  hand.measure(line);
  // Tip positions worked out by hand from a 360-twip hand turned 0.4 a tick, pi as 22/7.
  const std::tuple<int, float, float> rows[] = {
      {1, 1320.0f, 1680.0f},         {2, 1322.5143f, 1680.0088f},  {226, 1679.9999f, 2040.2277f},
      {451, 1319.5448f, 2399.9998f}, {676, 960.0007f, 2039.3171f}, {901, 1320.9104f, 1680.0011f}};
  int done = 0;
  for (auto [tick, x2, y2] : rows) {
    for (; done < tick; ++done) hand.tick(line);
    SCOPED_TRACE("tick " + std::to_string(tick));
    EXPECT_FLOAT_EQ(line.X2, x2);
    EXPECT_FLOAT_EQ(line.Y2, y2);
    // The start point is never written.
    EXPECT_EQ(std::pair(line.X1, line.Y1), std::pair(kStartHand.X1, kStartHand.Y1));
  }
  // The angle is never reduced, and each sweep ends further clockwise than the one before.
  EXPECT_NEAR(hand.angle(), 360.4, 1e-9);
  for (; done < 1801; ++done) hand.tick(line);
  EXPECT_GT(line.X2, 1320.9104f + 0.5f);
  EXPECT_LT(line.Y2, 1681.0f);
}

}  // namespace
}  // namespace vel
