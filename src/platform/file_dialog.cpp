// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_dialog.h"

#include <giomm/file.h>
#include <gtkmm/dialog.h>

namespace vel {

FileDialog::FileDialog(Gtk::Window& parent) : parent_(parent) {}

FileDialog::~FileDialog() {
  if (chooser_) {
    response_.disconnect();
    if (shown_) chooser_->hide();
  }
}

std::string FileDialog::path_of(const Glib::RefPtr<Gio::File>& file) {
  if (!file) return {};
  if (std::string path = file->get_path(); !path.empty()) return path;
  return file->get_uri();
}

void FileDialog::show_open(std::function<void(const std::string&)> chosen) {
  chosen_ = std::move(chosen);
  if (!chooser_) {
    // No title and the toolkit's own button labels: the dialog's defaults.
    chooser_ = Glib::wrap(gtk_file_chooser_native_new(
        nullptr, parent_.gobj(), GTK_FILE_CHOOSER_ACTION_OPEN, nullptr, nullptr));
    chooser_->set_modal(true);
    response_ = chooser_->signal_response().connect(sigc::mem_fun(*this, &FileDialog::on_response));
  }
  shown_ = true;
  chooser_->show();
}

void FileDialog::on_response(int response) {
  shown_ = false;
  // The dialog hides itself when the user answers; an answer given another way does not.
  chooser_->hide();
  if (response != static_cast<int>(Gtk::ResponseType::ACCEPT)) return;
  const std::string path = path_of(chooser_->get_file());
  if (path.empty() || !chosen_) return;
  // The callback may show the dialog again; keep ours alive across the call.
  auto chosen = chosen_;
  chosen(path);
}

}  // namespace vel
