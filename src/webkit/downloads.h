// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <webkit/webkit.h>

namespace vel {

// Saves what one view cannot show in the user's download folder, under a name of its own that
// overwrites nothing, and says so once the file is complete. A download that fails leaves no
// partial file behind.
class Downloads {
 public:
  explicit Downloads(WebKitWebView* view);
  ~Downloads();
  Downloads(const Downloads&) = delete;
  Downloads& operator=(const Downloads&) = delete;

 private:
  void on_started(WebKitDownload* download);

  WebKitWebView* view_;
};

}  // namespace vel
