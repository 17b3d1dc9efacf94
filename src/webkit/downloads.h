// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <webkit/webkit.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "engine/web_engine.h"

namespace vel {

// Saves what one view cannot show in the user's download folder, and tells `events` how each
// download goes. The data is written to "name.part" and takes its name, one that overwrites
// nothing, only once it is whole: the server sent all it promised. A download that fails, is
// cancelled, or is still under way when the view goes leaves no partial file behind.
class Downloads {
 public:
  Downloads(WebKitWebView* view, std::function<void(const DownloadEvent&)> events);
  ~Downloads();
  Downloads(const Downloads&) = delete;
  Downloads& operator=(const Downloads&) = delete;

  // The view's response policy: a main-frame response the view cannot show is downloaded.
  static bool decide(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
  // The network session started a download, of this view or another.
  void started(WebKitDownload* download);
  // Cancels every download of this view under way.
  void cancel_all();

 private:
  // A download of this view under way, with a reference and our handlers.
  struct Running {
    WebKitDownload* download;
    unsigned id;
    std::filesystem::path file;     // the name it is to have once whole
    std::filesystem::path partial;  // where it is written until then (empty until chosen)
    gint64 progress_told_us = 0;    // when its progress was last told
    bool ended = false;             // its failure is told: "finished" follows "failed" too
  };

  Running* find(WebKitDownload* download);
  void on_destination(Running& running, const char* suggested);
  void on_failed(Running& running, GError* error);
  void on_finished(Running& running);
  // How far it got before it broke off: "stopped after 1.0 MB of 2.1 MB".
  static std::string broke_off(const Running& running);
  void emit(const Running& running, DownloadEvent::Stage stage, const std::string& error = {});
  void forget(WebKitDownload* download);

  WebKitWebView* view_;
  std::function<void(const DownloadEvent&)> events_;
  std::vector<Running> running_;
  unsigned next_id_ = 1;
};

}  // namespace vel
