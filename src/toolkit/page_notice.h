// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <sigc++/signal.h>

#include <string>

namespace vel {

// "This page is not responding": a notice laid over a page whose process does not answer, naming
// its address, with a Wait button and a Stop button. A reader hears it as an alert.
class PageNotice : public Gtk::Box {
 public:
  PageNotice();

  // Shows the notice for the page at `address` and puts the focus on Wait.
  void show_for(const std::string& address);
  // Hides it; the focus, when it was inside, goes to `next` (when given).
  void dismiss(Gtk::Widget* next = nullptr);

  Gtk::Label& heading() { return heading_; }
  Gtk::Label& address() { return address_; }
  Gtk::Button& wait_button() { return wait_; }
  Gtk::Button& stop_button() { return stop_; }
  sigc::signal<void()>& signal_wait() { return wait_chosen_; }
  sigc::signal<void()>& signal_stop() { return stop_chosen_; }

 private:
  Gtk::Label heading_, text_, address_;
  Gtk::Box buttons_;
  Gtk::Button wait_, stop_;
  sigc::signal<void()> wait_chosen_, stop_chosen_;
};

}  // namespace vel
