// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

namespace vel {

// Layouts are given in twips; 15 twips make one logical pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twips_to_px(double twips) {
  // Round half away from zero, so an edge at 7.5 px lands on 8 on either side of 0.
  const double px = twips / kTwipsPerPixel;
  return static_cast<int>(px < 0 ? px - 0.5 : px + 0.5);
}

constexpr double px_to_twips(int px) {
  return static_cast<double>(px) * kTwipsPerPixel;
}

// A rectangle in twips and the same rectangle in whole pixels. Edges are converted, not sizes,
// so neighbouring controls that share an edge in twips share it in pixels too.
struct TwipsRect {
  int left, top, width, height;
};

struct PixelRect {
  int x, y, width, height;
};

constexpr PixelRect to_pixels(const TwipsRect& r) {
  const int x = twips_to_px(r.left), y = twips_to_px(r.top);
  return {x, y, twips_to_px(r.left + r.width) - x, twips_to_px(r.top + r.height) - y};
}

}  // namespace vel
