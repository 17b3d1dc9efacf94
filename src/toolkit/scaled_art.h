// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gdkmm/texture.h>
#include <gtkmm/widget.h>

#include <string>

namespace vel {

// A picture of fixed logical size drawn from the rendering made for the screen's scale: the 1x
// resource on a screen of scale 1, the 2x one (twice as wide and high) on any larger scale, so
// that each device pixel gets a pixel of art of its own rather than a blown-up one. It follows a
// change of scale (the window moved to another monitor) while shown. Its size, and so everything
// laid out around it, stays the same at every scale.
class ScaledArt : public Gtk::Widget {
 public:
  ScaledArt(std::string resource_1x, std::string resource_2x, int width, int height);

 protected:
  Gtk::SizeRequestMode get_request_mode_vfunc() const override;
  void measure_vfunc(Gtk::Orientation orientation, int for_size, int& minimum, int& natural,
                     int& minimum_baseline, int& natural_baseline) const override;
  void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

 private:
  void follow_scale();

  std::string resource_1x_, resource_2x_;
  int width_, height_;
  int art_scale_ = 0;  // the scale whose rendering is loaded: 1 or 2
  Glib::RefPtr<Gdk::Texture> texture_;
};

}  // namespace vel
