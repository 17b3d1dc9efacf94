// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/downloads.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "core/download_names.h"

namespace vel {
namespace {

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
}

}  // namespace

Downloads::Downloads(WebKitWebView* view, std::function<void(const DownloadEvent&)> events)
    : view_(WEBKIT_WEB_VIEW(g_object_ref(view))), events_(std::move(events)) {}

Downloads::~Downloads() {
  for (const Running& running : running_) {
    g_signal_handlers_disconnect_by_data(running.download, this);
    g_object_unref(running.download);
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
  g_signal_connect(download, "decide-destination", G_CALLBACK(decide_destination), nullptr);
  g_signal_connect(download, "failed", G_CALLBACK(remove_partial_file), nullptr);
  running_.push_back({WEBKIT_DOWNLOAD(g_object_ref(download)), next_id_++});

  g_signal_connect(download, "created-destination",
                   G_CALLBACK(+[](WebKitDownload* d, char*, gpointer data) {
                     auto* self = static_cast<Downloads*>(data);
                     if (Running* running = self->find(d))
                       self->emit(*running, DownloadEvent::Stage::Started);
                   }),
                   this);
  g_signal_connect(
      download, "received-data", G_CALLBACK(+[](WebKitDownload* d, guint64, gpointer data) {
        auto* self = static_cast<Downloads*>(data);
        Running* running = self->find(d);
        const gint64 now = g_get_monotonic_time();
        if (!running ||
            (running->progress_told_us && now - running->progress_told_us < kProgressUs))
          return;
        running->progress_told_us = now;
        self->emit(*running, DownloadEvent::Stage::Progress);
      }),
      this);
  g_signal_connect(
      download, "failed", G_CALLBACK(+[](WebKitDownload* d, GError* error, gpointer data) {
        auto* self = static_cast<Downloads*>(data);
        if (Running* running = self->find(d)) {
          running->failed = true;
          self->emit(*running, DownloadEvent::Stage::Failed, error ? error->message : nullptr);
        }
      }),
      this);
  // Only a whole file is told as finished.
  g_signal_connect(download, "finished", G_CALLBACK(+[](WebKitDownload* d, gpointer data) {
                     auto* self = static_cast<Downloads*>(data);
                     if (Running* running = self->find(d); running && !running->failed)
                       self->emit(*running, DownloadEvent::Stage::Finished);
                     self->forget(d);
                   }),
                   this);
}

Downloads::Running* Downloads::find(WebKitDownload* download) {
  const auto it = std::find_if(running_.begin(), running_.end(),
                               [download](const Running& r) { return r.download == download; });
  return it == running_.end() ? nullptr : &*it;
}

void Downloads::emit(const Running& running, DownloadEvent::Stage stage, const char* error) {
  DownloadEvent event;
  event.stage = stage;
  event.id = running.id;
  if (const char* path = webkit_download_get_destination(running.download)) event.file = path;
  event.received = webkit_download_get_received_data_length(running.download);
  if (WebKitURIResponse* response = webkit_download_get_response(running.download))
    event.total = webkit_uri_response_get_content_length(response);
  if (error) event.error = error;
  events_(event);
}

void Downloads::forget(WebKitDownload* download) {
  Running* running = find(download);
  if (!running) return;
  running_.erase(running_.begin() + (running - running_.data()));
  g_signal_handlers_disconnect_by_data(download, this);
  g_object_unref(download);
}

}  // namespace vel
