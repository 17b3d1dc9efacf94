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

namespace vel {

// A page's alert, confirm, prompt or "leave this page?" question, in Vel's own words: modal to the
// browser window, with the page's address and message, OK (and Cancel and an entry as the kind
// needs) and, when offered, a check button that blocks the page's further dialogs.
class ScriptDialog : public Gtk::Window {
 public:
  enum class Kind { Alert, Confirm, Prompt, Leave };
  struct Answer {
    bool ok = false;     // OK (or Leave) rather than Cancel, the close box or Escape
    std::string text;    // what the entry holds (a prompt's)
    bool block = false;  // the user asked to block the page's further dialogs
  };
  struct Question {
    Kind kind = Kind::Alert;
    std::string address, message, default_text;
    bool offer_block = false;
  };

  // Shows itself at once; `done` is called once, with the user's answer.
  ScriptDialog(Gtk::Window* parent, const Question& question, std::function<void(Answer)> done);

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
  std::function<void(Answer)> done_;
};

}  // namespace vel
