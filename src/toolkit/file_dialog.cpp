// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/file_dialog.h"

#include <gtkmm/dialog.h>

#include <utility>

namespace vel {

FileDialog::FileDialog(Gtk::Window& parent) : parent_(parent) {}

FileDialog::~FileDialog() {
#if GTK_CHECK_VERSION(4, 10, 0)
  // Closes a dialog still shown; its answer then finds the opening cancelled and stops there.
  if (opening_) opening_->cancel();
#else
  if (chooser_) {
    response_.disconnect();
    if (shown_) chooser_->hide();
  }
#endif
}

std::string FileDialog::path_of(const Glib::RefPtr<Gio::File>& file) {
  if (!file) return {};
  if (std::string path = file->get_path(); !path.empty()) return path;
  return file->get_uri();
}

void FileDialog::on_chosen(const Glib::RefPtr<Gio::File>& file) {
  const std::string path = path_of(file);
  if (path.empty() || !chosen_) return;
  // The callback may show the dialog again; keep ours alive across the call.
  auto chosen = chosen_;
  chosen(path);
}

#if GTK_CHECK_VERSION(4, 10, 0)

void FileDialog::show_open(std::function<void(const std::string&)> chosen) {
  chosen_ = std::move(chosen);
  if (shown_) {
    // The dialog object hands out no window to raise; GTK's own dialog is the modal window over
    // ours (a portal's is another program's, raised by the desktop).
    for (Gtk::Window* window : Gtk::Window::list_toplevels())
      if (window != &parent_ && window->get_transient_for() == &parent_ && window->get_modal() &&
          window->get_visible())
        window->present();
    return;
  }
  // No title, folder, filter or name: the dialog's defaults.
  auto dialog = Gtk::FileDialog::create();
  dialog->set_modal(true);
  auto opening = Gio::Cancellable::create();
  opening_ = opening;
  shown_ = true;
  dialog->open(
      parent_,
      [this, dialog, opening](const Glib::RefPtr<Gio::AsyncResult>& result) {
        Glib::RefPtr<Gio::File> file;
        try {
          file = dialog->open_finish(result);
        } catch (const Glib::Error&) {
          // Cancelled or dismissed: nothing was chosen.
        }
        if (opening->is_cancelled()) return;  // this object is gone
        shown_ = false;
        opening_.reset();
        on_chosen(file);
      },
      opening);
}

#else

void FileDialog::show_open(std::function<void(const std::string&)> chosen) {
  chosen_ = std::move(chosen);
  if (shown_) {
    chooser_->show();  // raises it
    return;
  }
  // A chooser once answered shows nothing when shown again, so every opening makes its own; the
  // one before is let go here, outside of its own signals. No title and the toolkit's own button
  // labels: the dialog's defaults.
  response_.disconnect();
  chooser_ = Glib::wrap(gtk_file_chooser_native_new(
      nullptr, parent_.gobj(), GTK_FILE_CHOOSER_ACTION_OPEN, nullptr, nullptr));
  chooser_->set_modal(true);
  response_ = chooser_->signal_response().connect(sigc::mem_fun(*this, &FileDialog::on_response));
  shown_ = true;
  chooser_->show();
}

void FileDialog::on_response(int response) {
  shown_ = false;
  // The dialog hides itself when the user answers; an answer given another way does not.
  chooser_->hide();
  if (response != static_cast<int>(Gtk::ResponseType::ACCEPT)) return;
  on_chosen(chooser_->get_file());
}

#endif

}  // namespace vel
