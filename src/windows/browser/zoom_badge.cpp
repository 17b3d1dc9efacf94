// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/browser/zoom_badge.h"

#include <glibmm/main.h>

#include <string>

namespace vel {
namespace {

constexpr unsigned kShownMs = 1500;

}  // namespace

int next_zoom_level(int percent, int direction) {
  if (direction == 0) return 100;
  if (direction > 0) {
    for (int level : kZoomLevels)
      if (level > percent) return level;
    return kZoomLevels[std::size(kZoomLevels) - 1];
  }
  for (auto i = std::size(kZoomLevels); i-- > 0;)
    if (kZoomLevels[i] < percent) return kZoomLevels[i];
  return kZoomLevels[0];
}

ZoomBadge::ZoomBadge() {
  add_css_class("vel-zoom-badge");
  set_name("zoom-badge");
  set_visible(false);
  set_can_target(false);
}

ZoomBadge::~ZoomBadge() {
  hide_.disconnect();
}

void ZoomBadge::show_level(int percent) {
  set_text(std::to_string(percent) + " %");
  set_visible(true);
  hide_.disconnect();
  hide_ = Glib::signal_timeout().connect(
      [this] {
        set_visible(false);
        return false;
      },
      kShownMs);
}

}  // namespace vel
