// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/status_bar.h"

#include <glibmm/main.h>
#include <gtk/gtk.h>

#include "toolkit/accessible.h"
#include "toolkit/local_time.h"

namespace vel {

StatusBar::StatusBar(int panel_width_px, int height_px) : Gtk::Box(Gtk::Orientation::HORIZONTAL) {
  add_css_class("vel-statusbar");
  set_size_request(-1, height_px);
  for (int i = 0; i < kPanels; ++i) {
    auto* label = Gtk::make_managed<Gtk::Label>();
    label->add_css_class("vel-panel");
    label->set_size_request(panel_width_px, height_px);
    label->set_xalign(0.0f);
    label->set_ellipsize(Pango::EllipsizeMode::END);
    label->set_single_line_mode(true);
    append(*label);
    panels_[i] = label;
  }
  refresh_clock();
}

StatusBar::~StatusBar() {
  clock_timer_.disconnect();
}

Gtk::Label* StatusBar::panel(int index) {
  return index >= 1 && index <= kPanels ? panels_[index - 1] : nullptr;
}

void StatusBar::set_panel_text(int index, const Glib::ustring& text) {
  auto* label = panel(index);
  if (!label) return;
  label->set_text(text);
  // The label names itself by its text: a named panel says what it is instead, and its text
  // becomes the description.
  if (names_[index - 1].empty()) return;
  accessible::set_label(*label, names_[index - 1]);
  accessible::set_description(*label, text);
}

void StatusBar::set_panel_name(int index, const Glib::ustring& name) {
  if (!panel(index)) return;
  names_[index - 1] = name;
  set_panel_text(index, panel_text(index));
}

Glib::ustring StatusBar::panel_text(int index) const {
  return index >= 1 && index <= kPanels ? panels_[index - 1]->get_text() : Glib::ustring();
}

void StatusBar::refresh_clock() {
  const auto now = Glib::DateTime::create_now_local();
  set_panel_text(3, format_date(now));
  set_panel_text(4, format_short_time(now));
  // Wake once a minute, just after it turns, rather than polling.
  const double into_minute = now.get_seconds();
  const auto wait_ms = static_cast<unsigned>((60.0 - into_minute) * 1000.0) + 20;
  clock_timer_.disconnect();
  clock_timer_ = Glib::signal_timeout().connect(
      [this] {
        refresh_clock();
        return false;
      },
      wait_ms);
}

}  // namespace vel
