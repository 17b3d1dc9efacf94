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
  static WebEngine& engine(BrowserWindow& w) { return *w.engine_; }
  static Gtk::ComboBoxText& address_box(BrowserWindow& w) { return *w.address_box_; }
  static AddressPopup& address_popup(BrowserWindow& w) { return *w.address_popup_; }
  static StatusBar& status_bar(BrowserWindow& w) { return *w.status_bar_; }
  static WindowTimer& load_monitor(BrowserWindow& w) { return w.load_monitor_; }
  static FileDialog& file_dialog(BrowserWindow& w) { return w.file_dialog_; }
  // The message shown when a command failed, while it is shown.
  static Gtk::MessageDialog* message(const BrowserWindow& w) { return w.message_box_.dialog(); }
  static Gtk::Widget& control(const BrowserWindow& w, browser_layout::Role role) {
    return w.control(role);
  }
  static Gtk::Fixed& client_area(BrowserWindow& w) { return *w.fixed_; }
  static FindBar& find_bar(BrowserWindow& w) { return *w.find_bar_; }
  static ZoomBadge& zoom_badge(BrowserWindow& w) { return *w.zoom_badge_; }
  static PageNotice& page_notice(BrowserWindow& w) { return *w.page_notice_; }
  static PageDialog& page_dialog(BrowserWindow& w) { return *w.page_dialog_; }
  static DownloadStrip& download_strip(BrowserWindow& w) { return *w.download_strip_; }

  // The clock window.
  static Gtk::Button& back_button(ClockWindow& w) { return *w.back_button_; }
  static Gtk::Label& time_readout(ClockWindow& w) { return w.time_readout(); }
  static Gtk::Label& date_readout(ClockWindow& w) { return w.date_readout(); }
  static WindowTimer& readout_timer(ClockWindow& w) { return w.readout_timer_; }
  static WindowTimer& hand_timer(ClockWindow& w) { return w.hand_timer_; }
  static const ClockHand& hand(const ClockWindow& w) { return w.hand_; }
  // Where the hand points now.
  static const LineCoords& hand_line(const ClockWindow& w) { return w.hand_line_; }
  // The widget built for a row of the layout table: the window itself, a button, a label, or
  // the layer that draws a line; null for the timers.
  static Gtk::Widget* widget(const ClockWindow& w, std::size_t row) { return w.widgets_.at(row); }
  static Gtk::Fixed& client_area(ClockWindow& w) { return *w.fixed_; }

  // The About window.
  static Gtk::Label& credits(AboutWindow& w) { return *w.credits_; }
  static Gtk::Label& notice(AboutWindow& w) { return *w.notice_; }
  static Gtk::Button& ok_button(AboutWindow& w) { return *w.ok_button_; }

  // Which windows the application has now.
  static BrowserWindow* browser_window(const Application& app) { return app.browser_window_.get(); }
  static ClockWindow* clock_window(const Application& app) { return app.clock_window_.get(); }
  // The About window, while there is one; the About growth makes it when it starts to grow.
  static AboutWindow* about_window(const Application& app) { return app.about_window_.get(); }
  static AboutGrowth& about_growth(Application& app) { return app.about_growth_; }
};

}  // namespace vel::test
