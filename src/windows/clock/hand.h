// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vel {

// A line control's end points in twips. Lines keep their coordinates in single precision.
struct LineCoords {
  float X1, Y1, X2, Y2;
};

// The clock's one hand: measured once from its design line, then turned clockwise by 0.4 angle
// units per tick about its fixed start point. Pi is taken as 22/7 and the angle is never reduced,
// so each sweep of 900 ticks ends a little past the one before.
class ClockHand {
 public:
  static constexpr double kStep = 0.4;

  // Measured once: the hand's length from its design coordinates; the angle starts at 12.
  void measure(const LineCoords& design);
  // One tick: writes the end point for the current angle (X2, then Y2), then advances the angle.
  void tick(LineCoords& line);

  double length() const { return hand_length_; }
  // The factor from angle units to radians, with pi taken as 22/7.
  double degrees_to_radians() const { return degrees_to_radians_; }
  double angle() const { return hand_angle_; }

 private:
  double hand_length_ = 0;
  double degrees_to_radians_ = 0;
  double hand_angle_ = 0;
};

}  // namespace vel
