// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/downloads.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "core/download_names.h"

namespace vel {
namespace {

// What the program keeps on each download object.
constexpr const char* kIdKey = "vel-download-id";
constexpr const char* kFailedKey = "vel-failed";
constexpr const char* kProgressKey = "vel-progress-us";
// Progress is told about once a second.
constexpr gint64 kProgressUs = 1000000;

std::filesystem::path download_dir() {
  const char* dir = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
  std::filesystem::path path =
      dir && *dir ? dir : std::filesystem::path(g_get_home_dir()) / "Downloads";
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return path;
}

gboolean decide_destination(WebKitDownload* download, const char* suggested, gpointer) {
  const auto path = unused_path(download_dir(), safe_file_name(suggested ? suggested : ""));
  webkit_download_set_destination(download, path.c_str());
  return TRUE;
}

// Connected with no owner, so that it runs whether or not the view is still there.
void remove_partial_file(WebKitDownload* download, GError*, gpointer) {
  if (const char* path = webkit_download_get_destination(download)) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  g_object_set_data(G_OBJECT(download), kFailedKey, GINT_TO_POINTER(1));
}

}  // namespace

Downloads::Downloads(WebKitWebView* view, std::function<void(const DownloadEvent&)> events)
    : view_(WEBKIT_WEB_VIEW(g_object_ref(view))), events_(std::move(events)) {}

Downloads::~Downloads() {
  for (WebKitDownload* download : running_) {
    g_signal_handlers_disconnect_by_data(download, this);
    g_object_unref(download);
  }
  g_object_unref(view_);
}

bool Downloads::decide(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return false;
  auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
  if (webkit_response_policy_decision_is_mime_type_supported(response) ||
      !webkit_response_policy_decision_is_main_frame_main_resource(response))
    return false;
  webkit_policy_decision_download(decision);
  return true;
}

void Downloads::started(WebKitDownload* download) {
  if (webkit_download_get_web_view(download) != view_) return;
  webkit_download_set_allow_overwrite(download, FALSE);
  g_object_set_data(G_OBJECT(download), kIdKey, GUINT_TO_POINTER(next_id_++));
  g_signal_connect(download, "decide-destination", G_CALLBACK(decide_destination), nullptr);
  g_signal_connect(download, "failed", G_CALLBACK(remove_partial_file), nullptr);
  running_.push_back(WEBKIT_DOWNLOAD(g_object_ref(download)));

  g_signal_connect(download, "created-destination",
                   G_CALLBACK(+[](WebKitDownload* d, char*, gpointer self) {
                     static_cast<Downloads*>(self)->emit(d, DownloadEvent::Stage::Started);
                   }),
                   this);
  g_signal_connect(
      download, "received-data", G_CALLBACK(+[](WebKitDownload* d, guint64, gpointer self) {
        const gint64 now = g_get_monotonic_time();
        auto* last = static_cast<gint64*>(g_object_get_data(G_OBJECT(d), kProgressKey));
        if (last && now - *last < kProgressUs) return;
        if (!last) {
          last = g_new(gint64, 1);
          g_object_set_data_full(G_OBJECT(d), kProgressKey, last, g_free);
        }
        *last = now;
        static_cast<Downloads*>(self)->emit(d, DownloadEvent::Stage::Progress);
      }),
      this);
  g_signal_connect(download, "failed",
                   G_CALLBACK(+[](WebKitDownload* d, GError* error, gpointer self) {
                     static_cast<Downloads*>(self)->emit(d, DownloadEvent::Stage::Failed,
                                                         error ? error->message : nullptr);
                   }),
                   this);
  // "finished" follows "failed" too: only a whole file is told as finished.
  g_signal_connect(download, "finished", G_CALLBACK(+[](WebKitDownload* d, gpointer self) {
                     auto* downloads = static_cast<Downloads*>(self);
                     if (!g_object_get_data(G_OBJECT(d), kFailedKey))
                       downloads->emit(d, DownloadEvent::Stage::Finished);
                     downloads->forget(d);
                   }),
                   this);
}

void Downloads::emit(WebKitDownload* download, DownloadEvent::Stage stage, const char* error) {
  DownloadEvent event;
  event.stage = stage;
  event.id = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(download), kIdKey));
  if (const char* path = webkit_download_get_destination(download)) event.file = path;
  event.received = webkit_download_get_received_data_length(download);
  if (WebKitURIResponse* response = webkit_download_get_response(download))
    event.total = webkit_uri_response_get_content_length(response);
  if (error) event.error = error;
  events_(event);
}

void Downloads::forget(WebKitDownload* download) {
  const auto it = std::find(running_.begin(), running_.end(), download);
  if (it == running_.end()) return;
  running_.erase(it);
  g_signal_handlers_disconnect_by_data(download, this);
  g_object_unref(download);
}

}  // namespace vel
