#include <gtest/gtest.h>

#include "clock/form3_layout.h"
#include "clock/hand.h"

namespace vel {
namespace {

LineCoords design_hand() {
  return form3::kLines[form3::kHandLine - 1].design;
}

TEST(ClockHand, LoadMeasuresTheDesignLine) {
  ClockHand hand;
  hand.load(design_hand());
  EXPECT_EQ(hand.HandLength(), 360.0);
  EXPECT_EQ(hand.DegreesToRadians(), 22.0 / 7.0 / 180.0);
  EXPECT_DOUBLE_EQ(hand.DegreesToRadians(), 0.01746031746031746);
  EXPECT_EQ(hand.HandAngle(), 0.0);
}

TEST(ClockHand, TicksFollowTheTable) {
  ClockHand hand;
  LineCoords line = design_hand();
  hand.load(line);
  struct Row {
    int tick;
    float x2, y2;
  };
  const Row rows[] = {{1, 1320.0f, 1680.0f},         {2, 1322.5143f, 1680.0088f},
                      {226, 1679.9999f, 2040.2277f}, {451, 1319.5448f, 2399.9998f},
                      {676, 960.0007f, 2039.3171f},  {901, 1320.9104f, 1680.0011f}};
  int done = 0;
  for (const Row& row : rows) {
    while (done < row.tick) {
      hand.tick(line);
      ++done;
    }
    SCOPED_TRACE("tick " + std::to_string(row.tick));
    EXPECT_FLOAT_EQ(line.X2, row.x2);
    EXPECT_FLOAT_EQ(line.Y2, row.y2);
    // The start point is never written.
    EXPECT_EQ(line.X1, 1320.0f);
    EXPECT_EQ(line.Y1, 2040.0f);
  }
}

TEST(ClockHand, AngleAccumulatesWithoutReduction) {
  ClockHand hand;
  LineCoords line = design_hand();
  hand.load(line);
  for (int i = 0; i < 900; ++i) hand.tick(line);
  // The sum of 900 additions of 0.4, not 360 and not reduced.
  EXPECT_EQ(hand.HandAngle(), 359.99999999999665);
  for (int i = 0; i < 900; ++i) hand.tick(line);
  EXPECT_GT(hand.HandAngle(), 719.9);
  // With pi as 22/7 each sweep ends further clockwise: the tip stays on the circle but is now
  // right of 12 by more than after one sweep.
  hand.tick(line);
  EXPECT_GT(line.X2, 1320.9104f + 0.5f);
  EXPECT_LT(line.Y2, 1681.0f);
}

TEST(ClockHand, FirstTickPointsAtTwelveWhateverTheDesignDirection) {
  // A hand drawn towards 3 at design is measured, then swung to 12 by the first tick.
  ClockHand hand;
  LineCoords line{100, 200, 160, 280};  // 60 across, 80 down: length 100
  hand.load(line);
  EXPECT_EQ(hand.HandLength(), 100.0);
  hand.tick(line);
  EXPECT_EQ(line.X2, 100.0f);
  EXPECT_EQ(line.Y2, 100.0f);
}

TEST(ClockHand, ZeroLengthHandStaysAPoint) {
  ClockHand hand;
  LineCoords line{50, 50, 50, 50};
  hand.load(line);
  for (int i = 0; i < 10; ++i) hand.tick(line);
  EXPECT_EQ(line.X2, 50.0f);
  EXPECT_EQ(line.Y2, 50.0f);
}

TEST(ClockHand, ReloadStartsAgainAtTwelve) {
  ClockHand hand;
  LineCoords line = design_hand();
  hand.load(line);
  for (int i = 0; i < 300; ++i) hand.tick(line);
  // A window created afresh lays out the design line again and measures it again.
  line = design_hand();
  hand.load(line);
  EXPECT_EQ(hand.HandAngle(), 0.0);
  hand.tick(line);
  EXPECT_EQ(line.X2, 1320.0f);
  EXPECT_EQ(line.Y2, 1680.0f);
}

}  // namespace
}  // namespace vel
