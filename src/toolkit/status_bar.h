// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/label.h>

#include <array>
#include <string>

namespace vel {

// A status bar of four panels addressed from 1: two text panels, then the date and the time,
// which the bar keeps current by itself.
class StatusBar : public Gtk::Box {
 public:
  static constexpr int kPanels = 4;

  StatusBar(int panel_width_px, int height_px);
  ~StatusBar() override;

  // Panel texts by index, 1 to 4. An index outside the bar is ignored.
  void set_panel_text(int index, const Glib::ustring& text);
  Glib::ustring panel_text(int index) const;
  Gtk::Label* panel(int index);
  // What a panel is, for screen readers: they say the name, then the panel's text.
  void set_panel_name(int index, const Glib::ustring& name);

  // Rewrites the date and time panels now and schedules the next rewrite at the turn of the minute.
  void refresh_clock();

 private:
  std::array<Gtk::Label*, kPanels> panels_{};
  std::array<Glib::ustring, kPanels> names_{};
  sigc::connection clock_timer_;
};

}  // namespace vel
