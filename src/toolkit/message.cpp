// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/message.h"

#include <glibmm/main.h>

#include <filesystem>

#include "config.h"
#include "toolkit/launcher.h"

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

namespace {

// A message about a download, transient for `parent`, not modal, and gone once answered; with an
// Open Folder button when `folder` is given.
void tell_download(Gtk::Window& parent, const std::string& text, const std::string& detail,
                   Gtk::MessageType type, const std::string& folder) {
  constexpr int kOpenFolder = 1;
  auto* dialog = new Gtk::MessageDialog(text, false, type, Gtk::ButtonsType::NONE);
  if (!detail.empty()) dialog->set_secondary_text(detail);
  if (!folder.empty()) dialog->add_button("Open Folder", kOpenFolder);
  dialog->add_button("OK", Gtk::ResponseType::OK);
  dialog->set_default_response(Gtk::ResponseType::OK);
  dialog->set_transient_for(parent);
  dialog->set_title("Vel Browser");
  dress_message_dialog(*dialog);
  dialog->signal_response().connect([dialog, folder](int response) {
    // Without a file manager, the message has named the folder already.
    if (response == kOpenFolder) show_folder(folder);
    // Not inside its own signal: deleted once the signal is over.
    dialog->hide();
    Glib::signal_idle().connect_once([dialog] { delete dialog; });
  });
  dialog->show();
}

}  // namespace

void tell_saved(Gtk::Window& parent, const std::string& file) {
  const std::filesystem::path path(file);
  const std::string folder = path.parent_path().string();
  tell_download(parent, "Saved “" + path.filename().string() + "” in " + folder + ".", {},
                Gtk::MessageType::INFO, folder);
}

void tell_not_saved(Gtk::Window& parent, const std::string& file, const std::string& reason) {
  tell_download(parent,
                "“" + std::filesystem::path(file).filename().string() + "” was not downloaded.",
                reason, Gtk::MessageType::ERROR, {});
}

}  // namespace vel
