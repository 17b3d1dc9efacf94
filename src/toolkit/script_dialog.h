// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>

#include <functional>
#include <string>

#include "core/page_question.h"

namespace vel {

// A page's alert, confirm, prompt or "leave this page?" question, in Vel's own words: modal to the
// browser window, with the page's address and message, OK (and Cancel and an entry as the kind
// needs) and, when offered, a check button that blocks the page's further dialogs.
class ScriptDialog : public Gtk::Window {
 public:
  // Shows itself at once; `done` is called once, with the user's answer.
  ScriptDialog(Gtk::Window* parent, const PageQuestion& question,
               std::function<void(PageAnswer)> done);

  // Hides the dialog without an answer (the page was left).
  void withdraw();

  Gtk::Label& message() { return message_; }
  Gtk::Entry& entry() { return entry_; }
  Gtk::CheckButton& block_button() { return block_; }
  Gtk::Button& ok_button() { return ok_; }
  Gtk::Button& cancel_button() { return cancel_; }

 private:
  void answer(bool ok);

  Gtk::Box box_, buttons_;
  Gtk::Label from_, message_;
  Gtk::Entry entry_;
  Gtk::CheckButton block_;
  Gtk::Button cancel_, ok_;
  std::function<void(PageAnswer)> done_;
};

}  // namespace vel
