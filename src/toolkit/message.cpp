// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/message.h"

#include "config.h"

namespace vel {

MessageBox::~MessageBox() {
  if (dialog_) dialog_->hide();
}

void MessageBox::show(Gtk::Window& parent, const std::string& text, const std::string& detail) {
  if (dialog_) dialog_->hide();
  dialog_ = std::make_unique<Gtk::MessageDialog>(parent, text, false, Gtk::MessageType::ERROR,
                                                 Gtk::ButtonsType::OK, true);
  dialog_->set_title("Vel Browser");
  dress_message_dialog(*dialog_);
  if (!detail.empty()) dialog_->set_secondary_text(detail);
  dialog_->set_hide_on_close(true);
  // Hidden, not deleted, on response: deleting a dialog inside its own signal is unsafe. The next
  // message or the owner's end deletes it.
  dialog_->signal_response().connect([d = dialog_.get()](int) { d->hide(); });
  dialog_->present();
}

Gtk::MessageDialog* MessageBox::dialog() const {
  return dialog_ && dialog_->get_visible() ? dialog_.get() : nullptr;
}

void dress_message_dialog(Gtk::MessageDialog& dialog) {
  dialog.set_icon_name(config::kAppId);
  Gtk::Widget* area = dialog.get_message_area();
  area->set_margin_top(18);
  area->set_margin_bottom(12);
  area->set_margin_start(24);
  area->set_margin_end(24);
}

}  // namespace vel
