// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sigc++/signal.h>
#include <webkit/webkit.h>

#include <string>

namespace vel {

// Find in one view's page through the engine's own find controller: case-insensitive, wrapping,
// the matches highlighted, their number told through `count`.
class WebKitFind {
 public:
  WebKitFind(WebKitWebView* view, sigc::signal<void(unsigned)>& count);
  ~WebKitFind();
  WebKitFind(const WebKitFind&) = delete;
  WebKitFind& operator=(const WebKitFind&) = delete;

  void find(const std::string& text, bool forward);
  void finish();

 private:
  WebKitFindController* controller_;
  sigc::signal<void(unsigned)>& count_;
  std::string text_;  // what is being found; empty when nothing is
};

}  // namespace vel
