#pragma once

namespace vel::about {

// The About window grows in steps of this many twips per tick of the browser window's Timer1,
// until either side reaches the full size. Sizes are single-precision twips.
inline constexpr float kStepTwips = 500.0f;
inline constexpr float kFullTwips = 3000.0f;

struct SizeTwips {
  float width = 0.0f;
  float height = 0.0f;
  friend bool operator==(const SizeTwips&, const SizeTwips&) = default;
};

// The size the window really has for a requested one: the window system makes it no smaller than
// its minimum.
SizeTwips effective_size(SizeTwips requested, SizeTwips minimum);

struct GrowthStep {
  SizeTwips requested;  // the size to ask for now
  bool stop = false;    // the timer is to be disabled
};

// One tick: the width grows from the size read back, then the height, each by a step; the growth
// stops once either side, read back again, is full.
GrowthStep grow(SizeTwips requested, SizeTwips minimum);

}  // namespace vel::about
