// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>

#include <span>

#include "core/download_progress.h"

namespace vel {

// The downloads under way, in the status bar: what they are (the file's name, or how many), how
// far they have got, and Cancel, which cancels them all. Hidden while there are none. A screen
// reader finds it as a status named "Downloads" that says the same.
class DownloadStrip : public Gtk::Box {
 public:
  DownloadStrip();

  // Shows these downloads; none hides the strip.
  void show_downloads(std::span<const DownloadProgress> downloads);
  sigc::signal<void()>& signal_cancel() { return cancel_; }
  // Puts the keyboard on Cancel, if the strip is shown.
  void focus_cancel();

 private:
  Gtk::Label what_, how_far_;
  Gtk::Button cancel_button_;
  sigc::signal<void()> cancel_;
};

}  // namespace vel
