// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <giomm/cancellable.h>
#include <giomm/file.h>
#include <gtk/gtk.h>
#include <gtkmm/window.h>

#include <functional>
#include <string>

#if GTK_CHECK_VERSION(4, 10, 0)
#include <gtkmm/filedialog.h>
#else
#include <gtkmm/filechoosernative.h>
#endif

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

  // The full path of a chosen file; empty when there is none.
  static std::string path_of(const Glib::RefPtr<Gio::File>& file);

 private:
  void on_chosen(const Glib::RefPtr<Gio::File>& file);

  Gtk::Window& parent_;
  std::function<void(const std::string&)> chosen_;
  bool shown_ = false;
#if GTK_CHECK_VERSION(4, 10, 0)
  // GTK 4.10 replaced the native chooser (deprecated there) by an asynchronous dialog object.
  // Each opening has its own cancellable: cancelled, its answer no longer reaches this object.
  Glib::RefPtr<Gio::Cancellable> opening_;
#else
  void on_response(int response);

  // A chooser answered once does not show again: each opening gets a new one.
  Glib::RefPtr<Gtk::FileChooserNative> chooser_;
  sigc::connection response_;
#endif
};

}  // namespace vel
