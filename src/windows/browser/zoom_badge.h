// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/label.h>
#include <sigc++/connection.h>

namespace vel {

// The page zoom levels that the zoom keys step through, in percent.
inline constexpr int kZoomLevels[] = {30, 50, 67, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};

// The level one step up (`direction` > 0) or down (< 0) from `percent`, which need not be one of
// the levels; the ends stay where they are. A `direction` of 0 is 100 %.
int next_zoom_level(int percent, int direction);

// The zoom level, shown for a moment over the page after it changes.
class ZoomBadge : public Gtk::Label {
 public:
  ZoomBadge();
  ~ZoomBadge() override;
  void show_level(int percent);

 private:
  sigc::connection hide_;
};

}  // namespace vel
