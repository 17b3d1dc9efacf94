// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <sigc++/signal.h>

#include "windows/about/about_growth.h"

namespace vel {
namespace test {
struct Seam;
}

// The About window: the product name with a credits line, a rights notice, four lines and OK.
// It is not resizable by the user; the program's About growth grows it in steps.
class AboutWindow : public Gtk::Window {
 public:
  explicit AboutWindow(AboutGrowth& growth);
  ~AboutWindow() override;

  // The outer size, title bar included, in single-precision twips, as the growth reads and
  // writes it. Reading gives what the window system makes of the last size set: never less than
  // the window's minimum.
  about::SizeTwips size_twips() const { return about::effective_size(requested_, minimum_size()); }
  about::SizeTwips requested_size() const { return requested_; }
  void set_size_twips(about::SizeTwips size);
  // The smallest outer size the window can have: its title bar and frame.
  about::SizeTwips minimum_size() const;

  // OK asks the application for the browser window, which may have to be created anew.
  sigc::signal<void()>& signal_show_browser() { return show_browser_; }

 private:
  // The tests read the window's parts through test::Seam (tests/support/seam.h).
  friend struct test::Seam;
  // OK: shows the browser window, hides this one and grows it again from no width, hidden.
  void on_ok_clicked();
  void draw_lines(const Cairo::RefPtr<Cairo::Context>& cr) const;

  AboutGrowth& growth_;
  about::SizeTwips requested_;
  Gtk::Label* credits_ = nullptr;
  Gtk::Label* notice_ = nullptr;
  Gtk::Button* ok_button_ = nullptr;
  sigc::signal<void()> show_browser_;
};

}  // namespace vel
