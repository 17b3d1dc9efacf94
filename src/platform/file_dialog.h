// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/filechoosernative.h>
#include <gtkmm/window.h>

#include <functional>
#include <string>

namespace vel {

// The file-open dialog: modal to its window, no title, filter, folder or preset name. GTK has no
// blocking run, so the caller goes on in a callback, which runs only when a file was chosen.
class FileDialog {
 public:
  explicit FileDialog(Gtk::Window& parent);
  ~FileDialog();
  FileDialog(const FileDialog&) = delete;
  FileDialog& operator=(const FileDialog&) = delete;

  // Shows the dialog. `chosen` gets the full path of the picked file (its address, when the file
  // is not on a local disk). A cancel calls nothing. Showing it again while shown only raises it.
  void show_open(std::function<void(const std::string&)> chosen);
  bool is_shown() const { return shown_; }

  // The dialog itself, so tests can answer it as a user would.
  Glib::RefPtr<Gtk::FileChooserNative> chooser() const { return chooser_; }

  // The full path of a chosen file; empty when there is none.
  static std::string path_of(const Glib::RefPtr<Gio::File>& file);

 private:
  void on_response(int response);

  Gtk::Window& parent_;
  Glib::RefPtr<Gtk::FileChooserNative> chooser_;
  std::function<void(const std::string&)> chosen_;
  sigc::connection response_;
  bool shown_ = false;
};

}  // namespace vel
