// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "toolkit/window_timer.h"

namespace vel {

class AboutWindow;

namespace about {

// The About window grows in steps of this many twips per tick of the growth timer, until either
// side reaches the full size. Sizes are single-precision twips.
inline constexpr float kStepTwips = 500.0f;
inline constexpr float kFullTwips = 3000.0f;
inline constexpr unsigned kGrowthPeriodMs = 200;

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

}  // namespace about

// Opens the About window at no size and grows it. The growth belongs to the program, not to the
// window: a tick after the user closed the window asks for it again, which makes a hidden one and
// grows that.
class AboutGrowth {
 public:
  // Gives the About window, creating a hidden one when there is none.
  using WindowSource = std::function<AboutWindow&()>;

  explicit AboutGrowth(WindowSource window);

  // Shows the window at no size and starts growing it.
  void open();
  // Starts growing again from the size the window has.
  void resume() { about_growth_timer_.set_enabled(true); }
  void on_growth_tick();
  WindowTimer& timer() { return about_growth_timer_; }

 private:
  WindowSource window_;
  WindowTimer about_growth_timer_{about::kGrowthPeriodMs};
};

}  // namespace vel
