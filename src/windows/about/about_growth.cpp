// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/about/about_growth.h"

#include <algorithm>

#include "windows/about/about_window.h"

namespace vel {
namespace about {

SizeTwips effective_size(SizeTwips requested, SizeTwips minimum) {
  return {std::max(requested.width, minimum.width), std::max(requested.height, minimum.height)};
}

GrowthStep grow(SizeTwips requested, SizeTwips minimum) {
  GrowthStep step{requested, false};
  step.requested.width = effective_size(step.requested, minimum).width + kStepTwips;
  step.requested.height = effective_size(step.requested, minimum).height + kStepTwips;
  const SizeTwips now = effective_size(step.requested, minimum);
  step.stop = now.height >= kFullTwips || now.width >= kFullTwips;
  return step;
}

}  // namespace about

AboutGrowth::AboutGrowth(WindowSource window) : window_(std::move(window)) {
  about_growth_timer_.signal_tick().connect([this] { on_growth_tick(); });
}

void AboutGrowth::open() {
  AboutWindow& about = window_();
  about.present();
  about.set_size_twips({0.0f, 0.0f});
  about_growth_timer_.set_enabled(true);
}

void AboutGrowth::on_growth_tick() {
  AboutWindow& about = window_();
  const about::GrowthStep step = about::grow(about.requested_size(), about.minimum_size());
  about.set_size_twips(step.requested);
  if (step.stop) about_growth_timer_.set_enabled(false);
}

}  // namespace vel
