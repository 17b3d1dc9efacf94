// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/scaled_art.h"

#include <gtkmm/snapshot.h>

#include "toolkit/accessible.h"

namespace vel {

ScaledArt::ScaledArt(std::string resource_1x, std::string resource_2x, int width, int height)
    : resource_1x_(std::move(resource_1x)),
      resource_2x_(std::move(resource_2x)),
      width_(width),
      height_(height) {
  accessible::set_role(*this, GTK_ACCESSIBLE_ROLE_IMG);
  // Before the window is shown, the scale is the display's: the art is loaded once at start, for
  // the scale it will be shown at.
  follow_scale();
  property_scale_factor().signal_changed().connect([this] { follow_scale(); });
}

void ScaledArt::follow_scale() {
  const int scale = get_scale_factor() >= 2 ? 2 : 1;
  if (scale == art_scale_) return;
  art_scale_ = scale;
  texture_ = Gdk::Texture::create_from_resource(scale == 2 ? resource_2x_ : resource_1x_);
  queue_draw();
}

Gtk::SizeRequestMode ScaledArt::get_request_mode_vfunc() const {
  return Gtk::SizeRequestMode::CONSTANT_SIZE;
}

void ScaledArt::measure_vfunc(Gtk::Orientation orientation, int, int& minimum, int& natural,
                              int& minimum_baseline, int& natural_baseline) const {
  minimum = natural = orientation == Gtk::Orientation::HORIZONTAL ? width_ : height_;
  minimum_baseline = natural_baseline = -1;
}

void ScaledArt::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) {
  // At scale 2 the 2x texture covers the logical rectangle pixel for pixel.
  snapshot->append_texture(texture_, Gdk::Rectangle(0, 0, get_width(), get_height()));
}

}  // namespace vel
