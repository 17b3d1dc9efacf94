// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <webkit/webkit.h>

#include <functional>
#include <vector>

#include "engine/web_engine.h"

namespace vel {

// Saves what one view cannot show in the user's download folder, under a name of its own that
// overwrites nothing, and tells `events` how each download goes. A download that fails leaves no
// partial file behind, also after the view is gone.
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

 private:
  // A download of this view under way, with a reference and our handlers.
  struct Running {
    WebKitDownload* download;
    unsigned id;
    gint64 progress_told_us = 0;  // when its progress was last told
    bool failed = false;          // "finished" follows "failed" too
  };

  Running* find(WebKitDownload* download);
  void emit(const Running& running, DownloadEvent::Stage stage, const char* error = nullptr);
  void forget(WebKitDownload* download);

  WebKitWebView* view_;
  std::function<void(const DownloadEvent&)> events_;
  std::vector<Running> running_;
  unsigned next_id_ = 1;
};

}  // namespace vel
