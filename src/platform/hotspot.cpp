#include "platform/hotspot.h"

#include <gtk/gtk.h>
#include <gtkmm/eventcontrollermotion.h>
#include <gtkmm/gestureclick.h>

namespace vel {

Hotspot::Hotspot(std::string name, int width_px, int height_px)
    : Glib::ObjectBase("VelHotspot"), name_(std::move(name)), width_(width_px), height_(height_px) {
  set_name(name_);
  set_focusable(false);
  auto click = Gtk::GestureClick::create();
  click->set_button(GDK_BUTTON_PRIMARY);
  click->signal_pressed().connect([this](int, double, double) { pressed_ = true; });
  click->signal_released().connect([this](int, double x, double y) {
    const bool inside = pressed_ && x >= 0 && y >= 0 && x < get_width() && y < get_height();
    pressed_ = false;
    if (inside && click_) click_();
  });
  add_controller(click);
}

void Hotspot::on_motion(std::function<void()> handler) {
  if (!motion_) {
    auto motion = Gtk::EventControllerMotion::create();
    motion->signal_motion().connect([this](double, double) {
      if (motion_) motion_();
    });
    add_controller(motion);
  }
  motion_ = std::move(handler);
}

void Hotspot::set_accessible_name(const Glib::ustring& name) {
  gtk_accessible_update_property(GTK_ACCESSIBLE(gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                 name.c_str(), -1);
}

bool Hotspot::activate_click() {
  if (!click_) return false;
  click_();
  return true;
}

void Hotspot::measure_vfunc(Gtk::Orientation orientation, int, int& minimum, int& natural,
                            int& minimum_baseline, int& natural_baseline) const {
  minimum = natural = orientation == Gtk::Orientation::HORIZONTAL ? width_ : height_;
  minimum_baseline = natural_baseline = -1;
}

}  // namespace vel
