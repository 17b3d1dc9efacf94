// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/hotspot.h"

#include <gtk/gtk.h>
#include <gtkmm/eventcontrollermotion.h>
#include <gtkmm/gestureclick.h>

namespace vel {

Hotspot::Hotspot(const std::string& name, int width_px, int height_px)
    : Glib::ObjectBase("VelHotspot"), width_(width_px), height_(height_px) {
  set_name(name);
  add_css_class("vel-hotspot");
  set_focusable(false);
  set_focus_on_click(false);
  // The button's own click handling would press on any release over it and repaint it pressed:
  // the hot-spot keeps its own rule and only hears "clicked" from activation (assistive
  // technology).
  GListModel* controllers = gtk_widget_observe_controllers(GTK_WIDGET(gobj()));
  for (guint i = 0; i < g_list_model_get_n_items(controllers); ++i) {
    auto* controller = static_cast<GtkEventController*>(g_list_model_get_item(controllers, i));
    if (GTK_IS_GESTURE_CLICK(controller))
      gtk_event_controller_set_propagation_phase(controller, GTK_PHASE_NONE);
    g_object_unref(controller);
  }
  g_object_unref(controllers);
  signal_clicked().connect([this] {
    if (click_) click_();
  });

  auto click = Gtk::GestureClick::create();
  click->set_button(GDK_BUTTON_PRIMARY);
  click->signal_pressed().connect([this](int, double, double) { pressed_ = true; });
  click->signal_released().connect([this](int, double x, double y) {
    const bool inside = pressed_ && x >= 0 && y >= 0 && x < get_width() && y < get_height();
    pressed_ = false;
    if (inside) activate_click();
  });
  add_controller(click);
}

void Hotspot::set_motion_handler(std::function<void()> handler) {
  if (!motion_) {
    auto motion = Gtk::EventControllerMotion::create();
    motion->signal_motion().connect([this](double, double) {
      if (motion_) motion_();
    });
    add_controller(motion);
  }
  motion_ = std::move(handler);
}

bool Hotspot::activate_click() {
  if (!click_) return false;
  if (pointer_click_) pointer_click_();
  click_();
  return true;
}

void Hotspot::measure_vfunc(Gtk::Orientation orientation, int, int& minimum, int& natural,
                            int& minimum_baseline, int& natural_baseline) const {
  minimum = natural = orientation == Gtk::Orientation::HORIZONTAL ? width_ : height_;
  minimum_baseline = natural_baseline = -1;
}

}  // namespace vel
