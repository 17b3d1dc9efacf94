// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/downloads.h"

#include <giomm/appinfo.h>
#include <glibmm/convert.h>
#include <glibmm/main.h>
#include <gtkmm/messagedialog.h>

#include <filesystem>
#include <string>

#include "core/download_names.h"
#include "toolkit/message.h"

namespace vel {
namespace {

std::filesystem::path download_dir() {
  const char* dir = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
  std::filesystem::path path =
      dir && *dir ? dir : std::filesystem::path(g_get_home_dir()) / "Downloads";
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return path;
}

// Says where the file went, with a button that shows that folder in the desktop's file manager.
void tell_saved(GtkWidget* near, const std::filesystem::path& file) {
  constexpr int kOpenFolder = 1;
  const std::string folder = file.parent_path().string();
  auto* dialog =
      new Gtk::MessageDialog("Saved “" + file.filename().string() + "” in " + folder + ".", false,
                             Gtk::MessageType::INFO, Gtk::ButtonsType::NONE);
  dialog->add_button("Open Folder", kOpenFolder);
  dialog->add_button("OK", Gtk::ResponseType::OK);
  dialog->set_default_response(Gtk::ResponseType::OK);
  if (auto* root = near ? gtk_widget_get_root(near) : nullptr; root && GTK_IS_WINDOW(root))
    gtk_window_set_transient_for(GTK_WINDOW(dialog->gobj()), GTK_WINDOW(root));
  dialog->set_title("Vel Browser");
  dress_message_dialog(*dialog);
  dialog->signal_response().connect([dialog, folder](int response) {
    if (response == kOpenFolder) {
      try {
        Gio::AppInfo::launch_default_for_uri(Glib::filename_to_uri(folder));
      } catch (const Glib::Error&) {
        // No file manager: the message has named the folder already.
      }
    }
    // Not inside its own signal: deleted once the signal is over.
    dialog->hide();
    Glib::signal_idle().connect_once([dialog] { delete dialog; });
  });
  dialog->show();
}

gboolean download_what_cannot_be_shown(WebKitWebView*, WebKitPolicyDecision* decision,
                                       WebKitPolicyDecisionType type, gpointer) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
  auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
  if (webkit_response_policy_decision_is_mime_type_supported(response) ||
      !webkit_response_policy_decision_is_main_frame_main_resource(response))
    return FALSE;
  webkit_policy_decision_download(decision);
  return TRUE;
}

gboolean decide_destination(WebKitDownload* download, const char* suggested, gpointer) {
  const auto path = unused_path(download_dir(), safe_file_name(suggested ? suggested : ""));
  webkit_download_set_destination(download, path.c_str());
  return TRUE;
}

void remove_partial_file(WebKitDownload* download, GError*, gpointer) {
  if (const char* path = webkit_download_get_destination(download)) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  g_object_set_data(G_OBJECT(download), "vel-failed", GINT_TO_POINTER(1));
}

// "finished" follows "failed" too: only a complete file is announced.
void announce_saved_file(WebKitDownload* download, gpointer) {
  if (g_object_get_data(G_OBJECT(download), "vel-failed")) return;
  const char* path = webkit_download_get_destination(download);
  if (!path) return;
  WebKitWebView* view = webkit_download_get_web_view(download);
  tell_saved(view ? GTK_WIDGET(view) : nullptr, path);
}

}  // namespace

Downloads::Downloads(WebKitWebView* view) : view_(WEBKIT_WEB_VIEW(g_object_ref(view))) {
  g_signal_connect(view_, "decide-policy", G_CALLBACK(download_what_cannot_be_shown), nullptr);
  // Downloads start in the network session, which every view shares.
  g_signal_connect(webkit_network_session_get_default(), "download-started",
                   G_CALLBACK(+[](WebKitNetworkSession*, WebKitDownload* download, gpointer self) {
                     static_cast<Downloads*>(self)->on_started(download);
                   }),
                   this);
}

Downloads::~Downloads() {
  g_signal_handlers_disconnect_by_data(webkit_network_session_get_default(), this);
  g_object_unref(view_);
}

void Downloads::on_started(WebKitDownload* download) {
  if (webkit_download_get_web_view(download) != view_) return;
  webkit_download_set_allow_overwrite(download, FALSE);
  g_signal_connect(download, "decide-destination", G_CALLBACK(decide_destination), nullptr);
  g_signal_connect(download, "failed", G_CALLBACK(remove_partial_file), nullptr);
  g_signal_connect(download, "finished", G_CALLBACK(announce_saved_file), nullptr);
}

}  // namespace vel
