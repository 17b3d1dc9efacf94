// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>

#include <string>

#include "engine/web_engine.h"

namespace vel {

// Find in page: a small bar laid over the bottom of the page with the words to find, the number
// of matches and a close button. It finds as the words are typed; Enter goes to the next match,
// Shift+Enter to the previous one.
class FindBar : public Gtk::Box {
 public:
  explicit FindBar(WebEngine& engine);
  ~FindBar() override;

  // Shows the bar with the focus in its words, all selected, and finds them again.
  void open();
  // Hides the bar and ends the highlight; the page gets the focus when the bar had it.
  void close();
  // The next (or previous) match; opens the bar when it is closed.
  void step(bool forward);
  // Whether the focus is in the bar: Escape closes it then.
  sigc::signal<void(bool)>& signal_focus_within() { return focus_changed_; }

  Gtk::Entry& entry() { return entry_; }
  Gtk::Label& matches() { return matches_; }

 private:
  void on_count(unsigned count);

  WebEngine& engine_;
  Gtk::Entry entry_;
  Gtk::Label matches_;
  Gtk::Button close_;
  bool focus_within_ = false;
  sigc::signal<void(bool)> focus_changed_;
  sigc::connection count_;
};

// What the bar says of a number of matches.
std::string match_count_text(unsigned count);

}  // namespace vel
