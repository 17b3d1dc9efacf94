// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/downloads.h"

#include <algorithm>
#include <string>

#include "core/download_names.h"
#include "core/download_progress.h"

namespace vel {
namespace {

// Progress is told about once a second.
constexpr gint64 kProgressUs = 1000000;

std::filesystem::path download_dir() {
  const char* dir = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
  return dir && *dir ? dir : std::filesystem::path(g_get_home_dir()) / "Downloads";
}

// Connected with no owner, so that it runs whether or not the view is still there.
void remove_partial_file(WebKitDownload* download, GError*, gpointer) {
  if (const char* path = webkit_download_get_destination(download)) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
}

// What the response promised, when that can be held against what arrived: a length, for a body
// not compressed on the way (its length is of the compressed bytes).
guint64 promised_length(WebKitDownload* download) {
  WebKitURIResponse* response = webkit_download_get_response(download);
  if (!response) return 0;
  SoupMessageHeaders* headers = webkit_uri_response_get_http_headers(response);
  const char* coding =
      headers ? soup_message_headers_get_one(headers, "Content-Encoding") : nullptr;
  if (coding && g_ascii_strcasecmp(coding, "identity") != 0) return 0;
  return webkit_uri_response_get_content_length(response);
}

}  // namespace

Downloads::Downloads(WebKitWebView* view, std::function<void(const DownloadEvent&)> events)
    : view_(WEBKIT_WEB_VIEW(g_object_ref(view))), events_(std::move(events)) {}

Downloads::~Downloads() {
  // The view goes (the window closed, or the program ends): what is under way is cancelled, and its
  // partial file goes now, as the main loop may not run again.
  for (const Running& running : running_) {
    g_signal_handlers_disconnect_by_data(running.download, this);
    webkit_download_cancel(running.download);
    g_object_unref(running.download);
    if (running.partial.empty()) continue;
    std::error_code ec;
    std::filesystem::remove(running.partial, ec);
    // And the engine's file beside it, which its network process may not live to remove.
    std::filesystem::remove(running.partial.string() + ".wkdownload", ec);
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
  g_signal_connect(download, "failed", G_CALLBACK(remove_partial_file), nullptr);
  // Until the site suggests a name, the download is known by the last part of its address.
  std::string name;
  if (WebKitURIRequest* request = webkit_download_get_request(download)) {
    const std::string uri = webkit_uri_request_get_uri(request);
    name = uri.substr(uri.find_last_of('/') + 1);
    name = name.substr(0, name.find_first_of("?#"));
  }
  running_.push_back({WEBKIT_DOWNLOAD(g_object_ref(download)),
                      next_id_++,
                      download_dir() / safe_file_name(name),
                      {}});

  g_signal_connect(download, "decide-destination",
                   G_CALLBACK(+[](WebKitDownload* d, char* suggested, gpointer data) -> gboolean {
                     auto* self = static_cast<Downloads*>(data);
                     if (Running* running = self->find(d))
                       self->on_destination(*running, suggested);
                     return TRUE;
                   }),
                   this);
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
  g_signal_connect(download, "failed",
                   G_CALLBACK(+[](WebKitDownload* d, GError* error, gpointer data) {
                     auto* self = static_cast<Downloads*>(data);
                     if (Running* running = self->find(d)) self->on_failed(*running, error);
                   }),
                   this);
  g_signal_connect(download, "finished", G_CALLBACK(+[](WebKitDownload* d, gpointer data) {
                     auto* self = static_cast<Downloads*>(data);
                     if (Running* running = self->find(d)) self->on_finished(*running);
                     self->forget(d);
                   }),
                   this);
}

void Downloads::cancel_all() {
  // Each one's "failed" and "finished" come before the cancel returns, and take it off the list.
  std::vector<WebKitDownload*> downloads;
  for (const Running& running : running_)
    downloads.push_back(WEBKIT_DOWNLOAD(g_object_ref(running.download)));
  for (WebKitDownload* download : downloads) {
    webkit_download_cancel(download);
    g_object_unref(download);
  }
}

void Downloads::on_destination(Running& running, const char* suggested) {
  const std::filesystem::path dir = download_dir();
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);  // if it fails, so does the download, and says why
  if (suggested && *suggested)
    running.file = unused_path(dir, safe_file_name(suggested));
  else
    running.file = unused_path(dir, running.file.filename().string());
  running.partial = partial_path(running.file);
  webkit_download_set_destination(running.download, running.partial.c_str());
}

void Downloads::on_failed(Running& running, GError* error) {
  running.ended = true;
  if (g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER))
    return emit(running, DownloadEvent::Stage::Cancelled);
  const std::string detail = error ? error->message : "unknown error";
  if (g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_DESTINATION))
    return emit(
        running, DownloadEvent::Stage::Failed,
        "It could not be written in " + running.file.parent_path().string() + " (" + detail + ").");
  emit(running, DownloadEvent::Stage::Failed,
       "The connection " + broke_off(running) + " (" + detail + "). What had arrived was removed.");
}

void Downloads::on_finished(Running& running) {
  if (running.ended) return;
  // Less than the server promised is a failure, even where the engine calls it finished.
  const guint64 received = webkit_download_get_received_data_length(running.download);
  if (received < promised_length(running.download)) {
    std::error_code ec;
    std::filesystem::remove(running.partial, ec);
    return emit(running, DownloadEvent::Stage::Failed,
                "The server " + broke_off(running) + ". What had arrived was removed.");
  }
  std::error_code ec;
  const std::filesystem::path named = move_into_place(running.partial, running.file, ec);
  if (named.empty())
    return emit(running, DownloadEvent::Stage::Failed,
                "It arrived whole, but could not be given its name (" + ec.message() +
                    "): it is kept as “" + running.partial.filename().string() + "”.");
  running.file = named;
  emit(running, DownloadEvent::Stage::Finished);
}

std::string Downloads::broke_off(const Running& running) {
  const guint64 received = webkit_download_get_received_data_length(running.download);
  const guint64 promised = promised_length(running.download);
  if (received == 0) return "failed before any of it arrived";
  std::string text = "stopped after " + byte_count_text(received);
  return promised > received ? text + " of " + byte_count_text(promised) : text;
}

Downloads::Running* Downloads::find(WebKitDownload* download) {
  const auto it = std::find_if(running_.begin(), running_.end(),
                               [download](const Running& r) { return r.download == download; });
  return it == running_.end() ? nullptr : &*it;
}

void Downloads::emit(const Running& running, DownloadEvent::Stage stage, const std::string& error) {
  DownloadEvent event;
  event.stage = stage;
  event.id = running.id;
  event.file = running.file.string();
  event.received = webkit_download_get_received_data_length(running.download);
  if (WebKitURIResponse* response = webkit_download_get_response(running.download))
    event.total = webkit_uri_response_get_content_length(response);
  event.error = error;
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
