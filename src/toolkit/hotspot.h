// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/button.h>

#include <functional>
#include <string>

namespace vel {

// An invisible rectangle laid over painted artwork: it draws nothing, but takes clicks (press and
// release on the same spot), pointer moves and shows an optional tooltip. It is a button so that
// assistive technology presents it as one and can press it; it never takes the keyboard focus.
class Hotspot : public Gtk::Button {
 public:
  Hotspot(const std::string& name, int width_px, int height_px);

  // A click: press and release of the primary button, both inside this hot-spot; also a press
  // from assistive technology.
  void set_click_handler(std::function<void()> handler) { click_ = std::move(handler); }
  // Runs before the click handler, for pointer clicks only.
  void set_pointer_click_handler(std::function<void()> handler) {
    pointer_click_ = std::move(handler);
  }
  // Runs on every pointer move over the hot-spot.
  void set_motion_handler(std::function<void()> handler);

  // Runs the click handlers as if clicked with the pointer; false when there is none.
  bool activate_click();

 protected:
  void measure_vfunc(Gtk::Orientation orientation, int for_size, int& minimum, int& natural,
                     int& minimum_baseline, int& natural_baseline) const override;

 private:
  int width_, height_;
  bool pressed_ = false;
  std::function<void()> click_;
  std::function<void()> pointer_click_;
  std::function<void()> motion_;
};

}  // namespace vel
