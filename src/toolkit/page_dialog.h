// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>
#include <sigc++/signal.h>

#include <functional>

#include "core/page_question.h"

namespace vel {

// A page's question (its alert, confirm, prompt or "leave this page?", or a site's sign-in) drawn
// inside the page: a veil over the page's rectangle, which keeps the pointer from the page that
// waits, and on it a card with the page's address and words, an entry or two as the kind needs,
// OK and Cancel, and, when offered, a check button that blocks the page's further dialogs. The
// rest of the window goes on working. A reader hears it as an alert dialog with its text.
//
// The keyboard goes to it when it appears: Enter answers OK, Escape (through the window's key,
// while the focus is inside) Cancel, Tab and Shift+Tab go round its controls, Page Up and Page Down
// scroll a long message.
class PageDialog : public Gtk::Box {
 public:
  // `page` gets the focus back when the dialog goes while it has it.
  explicit PageDialog(Gtk::Widget& page);

  // Shows the question, with the keyboard in it; `done` is called once, with the user's answer.
  void ask(const PageQuestion& question, std::function<void(const PageAnswer&)> done);
  // Hides the question without an answer (the page no longer waits).
  void withdraw();
  // Answers as Cancel (Stay) does.
  void cancel() { answer(false); }
  // Whether the focus is in the dialog: Escape cancels it then.
  sigc::signal<void(bool)>& signal_focus_within() { return focus_changed_; }

  Gtk::Widget& card() { return card_; }
  Gtk::Label& heading() { return heading_; }
  // The page's words (shown here, or, when long, in the scroller).
  Gtk::Label& message() { return message_; }
  Gtk::ScrolledWindow& scroller() { return scroller_; }
  Gtk::Entry& entry() { return entry_; }
  Gtk::Entry& password() { return password_; }
  Gtk::CheckButton& block_button() { return block_; }
  Gtk::Button& ok_button() { return ok_; }
  Gtk::Button& cancel_button() { return cancel_; }

 private:
  void answer(bool ok);
  void hide_card();
  bool on_key(guint key);
  void move_focus(bool forward);

  Gtk::Widget& page_;
  Gtk::Box card_, buttons_;
  Gtk::Label heading_, from_, message_, long_message_;
  Gtk::ScrolledWindow scroller_;
  Gtk::Entry entry_, password_;
  Gtk::CheckButton block_;
  Gtk::Button cancel_, ok_;
  std::function<void(const PageAnswer&)> done_;
  bool focus_within_ = false;
  sigc::signal<void(bool)> focus_changed_;
};

}  // namespace vel
