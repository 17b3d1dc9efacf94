#pragma once

#include <gtkmm/widget.h>

#include <functional>
#include <string>

namespace vel {

// An invisible rectangle laid over painted artwork: it draws nothing, but takes clicks (press and
// release on the same spot), pointer moves and shows an optional tooltip.
class Hotspot : public Gtk::Widget {
 public:
  Hotspot(std::string name, int width_px, int height_px);

  const std::string& control_name() const { return name_; }

  // A click: press and release of the primary button, both inside this hot-spot.
  void on_click(std::function<void()> handler) { click_ = std::move(handler); }
  void on_motion(std::function<void()> handler);
  void set_accessible_name(const Glib::ustring& name);

  // Runs the click handler as if clicked; false when there is none.
  bool activate_click();

 protected:
  void measure_vfunc(Gtk::Orientation orientation, int for_size, int& minimum, int& natural,
                     int& minimum_baseline, int& natural_baseline) const override;

 private:
  std::string name_;
  int width_, height_;
  bool pressed_ = false;
  std::function<void()> click_;
  std::function<void()> motion_;
};

}  // namespace vel
