// The About window's growth rule: single-precision twips, 500 a tick, stop once a side is full.
#include "about/about_growth.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vel::about;

namespace {

// Ticks from zero until the rule stops; the sizes the window has after each.
std::vector<SizeTwips> run(SizeTwips minimum, SizeTwips start = {0, 0}) {
  std::vector<SizeTwips> sizes;
  SizeTwips requested = start;
  for (int tick = 0; tick < 100; ++tick) {
    const GrowthStep step = grow(requested, minimum);
    requested = step.requested;
    sizes.push_back(effective_size(requested, minimum));
    if (step.stop) break;
  }
  return sizes;
}

}  // namespace

TEST(AboutGrowth, FromZeroItIsFullOnTheSixthTick) {
  const auto sizes = run({0, 0});
  ASSERT_EQ(sizes.size(), 6u);
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const float side = 500.0f * static_cast<float>(i + 1);
    EXPECT_EQ(sizes[i], (SizeTwips{side, side})) << "tick " << i + 1;
  }
}

TEST(AboutGrowth, EitherSideStopsIt) {
  // The width is full first; the height is left short.
  auto sizes = run({1350, 480});
  ASSERT_EQ(sizes.size(), 4u);
  EXPECT_EQ(sizes.back(), (SizeTwips{3350, 2480}));
  // The height is full first; the width is left short.
  sizes = run({200, 1100});
  ASSERT_EQ(sizes.size(), 4u);
  EXPECT_EQ(sizes.back(), (SizeTwips{2200, 3100}));
  // Exactly 3000 is full.
  sizes = run({0, 0}, {2500, 100});
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes.back(), (SizeTwips{3000, 600}));
  // A window already larger than full grows one step more and stops.
  sizes = run({0, 0}, {5000, 5000});
  EXPECT_EQ(sizes, (std::vector<SizeTwips>{{5500, 5500}}));
}

TEST(AboutGrowth, GrowsFromTheSizeTheWindowSystemGave) {
  // Asked for zero, the window is its minimum; each step adds to that, not to zero.
  const GrowthStep first = grow({0, 0}, {900, 700});
  EXPECT_EQ(first.requested, (SizeTwips{1400, 1200}));
  EXPECT_FALSE(first.stop);
  // The width OK leaves behind (0) is read back as the minimum on the next tick.
  const GrowthStep after_ok = grow({0, 3500}, {900, 700});
  EXPECT_EQ(after_ok.requested, (SizeTwips{1400, 4000}));
  EXPECT_TRUE(after_ok.stop);
  EXPECT_EQ(effective_size({100, 5000}, {900, 700}), (SizeTwips{900, 5000}));
}

TEST(AboutGrowth, SinglePrecisionStepsStayExact) {
  // Fractions of a twip are kept as the window's single-precision size keeps them.
  const GrowthStep step = grow({0.25f, 2499.75f}, {0, 0});
  EXPECT_EQ(step.requested, (SizeTwips{500.25f, 2999.75f}));
  EXPECT_FALSE(step.stop);
  EXPECT_TRUE(grow(step.requested, {0, 0}).stop);
}
