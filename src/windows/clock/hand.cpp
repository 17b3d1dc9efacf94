// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/clock/hand.h"

#include <cmath>

namespace vel {

void ClockHand::measure(const LineCoords& design) {
  // The differences are single precision, like the coordinates; the length is double.
  const float a = design.X1 - design.X2;
  const float b = design.Y1 - design.Y2;
  hand_length_ = std::sqrt(static_cast<double>(a) * a + static_cast<double>(b) * b);
  degrees_to_radians_ = 22.0 / 7.0 / 180.0;
  hand_angle_ = 0;
}

void ClockHand::tick(LineCoords& line) {
  const double theta = hand_angle_ * degrees_to_radians_;
  const double dx = hand_length_ * std::sin(theta);
  const double dy = hand_length_ * std::cos(theta);
  hand_angle_ += kStep;
  // y grows downwards: subtracting the cosine term moves the tip up.
  line.X2 = static_cast<float>(static_cast<double>(line.X1) + dx);
  line.Y2 = static_cast<float>(static_cast<double>(line.Y1) - dy);
}

}  // namespace vel
