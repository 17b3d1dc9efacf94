// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/application.h"
#include "windows/about/about_window.h"
#include "windows/browser/browser_window.h"
#include "windows/clock/clock_window.h"

namespace vel::test {

// The tests' and the benchmarks' one way into a window besides real input and what a screen
// reader hears: the parts a user sees, read (and now and then set) without a screen. The windows
// name it their friend; the program itself never uses it.
struct Seam {
  // The browser window.
  static WebEngine& engine(BrowserWindow& w) { return w.engine(); }
  static Gtk::ComboBoxText& address_box(BrowserWindow& w) { return w.address_box(); }
  static AddressPopup& address_popup(BrowserWindow& w) { return w.address_popup(); }
  static StatusBar& status_bar(BrowserWindow& w) { return w.status_bar(); }
  static WindowTimer& load_monitor(BrowserWindow& w) { return w.load_monitor(); }
  static FileDialog& file_dialog(BrowserWindow& w) { return w.file_dialog(); }
  static Gtk::MessageDialog* message(const BrowserWindow& w) { return w.message(); }
  static Gtk::Widget& control(const BrowserWindow& w, browser_layout::Role role) {
    return w.control(role);
  }
  static Gtk::Fixed& client_area(BrowserWindow& w) { return w.client_area(); }
  static FindBar& find_bar(BrowserWindow& w) { return w.find_bar(); }
  static ZoomBadge& zoom_badge(BrowserWindow& w) { return w.zoom_badge(); }
  static PageNotice& page_notice(BrowserWindow& w) { return w.page_notice(); }

  // The clock window.
  static Gtk::Button& back_button(ClockWindow& w) { return w.back_button(); }
  static Gtk::Label& time_readout(ClockWindow& w) { return w.time_readout(); }
  static Gtk::Label& date_readout(ClockWindow& w) { return w.date_readout(); }
  static WindowTimer& readout_timer(ClockWindow& w) { return w.readout_timer(); }
  static WindowTimer& hand_timer(ClockWindow& w) { return w.hand_timer(); }
  static const ClockHand& hand(const ClockWindow& w) { return w.hand(); }
  static const LineCoords& hand_line(const ClockWindow& w) { return w.hand_line(); }
  static Gtk::Widget* widget(const ClockWindow& w, std::size_t row) { return w.widget(row); }
  static Gtk::Fixed& client_area(ClockWindow& w) { return w.client_area(); }

  // The About window.
  static Gtk::Label& credits(AboutWindow& w) { return w.credits(); }
  static Gtk::Label& notice(AboutWindow& w) { return w.notice(); }
  static Gtk::Button& ok_button(AboutWindow& w) { return w.ok_button(); }

  // Which windows the application has now.
  static BrowserWindow* browser_window(const Application& app) { return app.browser_window(); }
  static ClockWindow* clock_window(const Application& app) { return app.clock_window(); }
  static AboutWindow* about_window(const Application& app) { return app.about_window(); }
  static AboutGrowth& about_growth(Application& app) { return app.about_growth(); }
};

}  // namespace vel::test
