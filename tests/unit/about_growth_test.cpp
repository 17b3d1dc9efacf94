// SPDX-License-Identifier: GPL-3.0-or-later
// The About window's growth rule: single-precision twips, 500 a tick, stop once a side is full.
#include "windows/about/about_growth.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace vel::about;

TEST(AboutGrowth, TicksUntilASideIsFull) {
  // The minimum, the size asked for at first, the ticks until the rule stops, and the size the
  // window has after the last one.
  const std::tuple<const char*, SizeTwips, SizeTwips, int, SizeTwips> cases[] = {
      {"from zero, full on the sixth tick", {0, 0}, {0, 0}, 6, {3000, 3000}},
      {"the width is full first", {1350, 480}, {0, 0}, 4, {3350, 2480}},
      {"the height is full first", {200, 1100}, {0, 0}, 4, {2200, 3100}},
      {"exactly 3000 is full", {0, 0}, {2500, 100}, 1, {3000, 600}},
      {"larger than full: one step more", {0, 0}, {5000, 5000}, 1, {5500, 5500}},
      {"OK's width of 0 reads back as the minimum", {900, 700}, {0, 3500}, 1, {1400, 4000}},
      {"fractions of a twip are kept", {0, 0}, {0.25f, 2499.75f}, 2, {1000.25f, 3499.75f}},
  };
  for (const auto& [name, minimum, start, ticks_until_stop, last] : cases) {
    SizeTwips requested = start, before = effective_size(start, minimum);
    int ticks = 0;
    for (bool stop = false; !stop && ticks < 100; ++ticks) {
      const GrowthStep step = grow(requested, minimum);
      requested = step.requested;
      stop = step.stop;
      const SizeTwips now = effective_size(requested, minimum);
      // Each tick adds a step to what the window system gave, not to what was asked for.
      EXPECT_EQ(now, (SizeTwips{before.width + kStepTwips, before.height + kStepTwips})) << name;
      before = now;
    }
    EXPECT_EQ(ticks, ticks_until_stop) << name;
    EXPECT_EQ(effective_size(requested, minimum), last) << name;
  }
}
