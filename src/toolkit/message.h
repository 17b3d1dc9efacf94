// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/messagedialog.h>
#include <gtkmm/window.h>

#include <memory>
#include <string>

namespace vel {

// A small message dialog, modal to its window, that the user closes with OK. One at a time: a
// new message replaces one still shown.
class MessageBox {
 public:
  MessageBox() = default;
  ~MessageBox();
  MessageBox(const MessageBox&) = delete;
  MessageBox& operator=(const MessageBox&) = delete;

  void show(Gtk::Window& parent, const std::string& text, const std::string& detail = {});
  // The dialog while it is shown, else nullptr.
  Gtk::MessageDialog* dialog() const;

 private:
  std::unique_ptr<Gtk::MessageDialog> dialog_;
};

// Says that a download was saved as `file`, with a button that shows its folder in the desktop's
// file manager; transient for `parent`, not modal, and gone once answered.
void tell_saved(Gtk::Window& parent, const std::string& file);
// Says that the download of `file` failed, and why; in the same way, without the button.
void tell_not_saved(Gtk::Window& parent, const std::string& file, const std::string& reason);

// Gives a message dialog the program's icon and room around its text, as a desktop's own dialogs
// have.
void dress_message_dialog(Gtk::MessageDialog& dialog);

}  // namespace vel
