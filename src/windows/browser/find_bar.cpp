// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/browser/find_bar.h"

#include <gtkmm/eventcontrollerfocus.h>

#include "windows/keys.h"

namespace vel {

std::string match_count_text(unsigned count) {
  if (count == 0) return "no matches";
  if (count == 1) return "1 match";
  if (count > 1000) return "more than 1000 matches";
  return std::to_string(count) + " matches";
}

FindBar::FindBar(WebEngine& engine) : Gtk::Box(Gtk::Orientation::HORIZONTAL, 6), engine_(engine) {
  add_css_class("vel-find-bar");
  set_name("find-bar");
  entry_.set_placeholder_text("Find in page");
  entry_.set_width_chars(20);
  matches_.set_width_chars(12);
  matches_.set_xalign(0);
  close_.set_icon_name("window-close-symbolic");
  close_.set_has_frame(false);
  close_.set_tooltip_text("Close");
  close_.set_focus_on_click(false);
  append(entry_);
  append(matches_);
  append(close_);
  set_visible(false);

  entry_.signal_changed().connect([this] {
    const std::string text = entry_.get_text();
    if (text.empty()) {
      engine_.find_finish();
      matches_.set_text("");
      return;
    }
    engine_.find(text, true);
  });
  entry_.signal_activate().connect([this] { step(true); });
  close_.signal_clicked().connect([this] { close(); });
  count_ = engine_.signal_match_count().connect([this](unsigned n) { on_count(n); });

  keys::bind(*this, keys::kFindBar, Gtk::PropagationPhase::CAPTURE);

  auto focus = Gtk::EventControllerFocus::create();
  focus->signal_enter().connect([this] { focus_changed_.emit(focus_within_ = true); });
  focus->signal_leave().connect([this] { focus_changed_.emit(focus_within_ = false); });
  add_controller(focus);
}

FindBar::~FindBar() {
  count_.disconnect();
}

void FindBar::open() {
  const bool was_open = get_visible();
  set_visible(true);
  entry_.grab_focus();
  entry_.select_region(0, -1);
  if (!was_open && entry_.get_text_length() > 0) engine_.find(entry_.get_text(), true);
}

void FindBar::close() {
  if (!get_visible()) return;
  const bool had_focus = focus_within_;
  engine_.find_finish();
  matches_.set_text("");
  set_visible(false);
  if (had_focus) engine_.widget().grab_focus();
}

void FindBar::step(bool forward) {
  if (!get_visible()) {
    open();
    return;
  }
  if (entry_.get_text_length() > 0) engine_.find(entry_.get_text(), forward);
}

void FindBar::on_count(unsigned count) {
  if (get_visible() && entry_.get_text_length() > 0) matches_.set_text(match_count_text(count));
}

}  // namespace vel
