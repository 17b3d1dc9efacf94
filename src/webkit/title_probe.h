// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sigc++/connection.h>
#include <webkit/webkit.h>

#include <functional>
#include <string>

namespace vel {

// The engine often names a page a moment after its load has ended. When it has not by then, the
// probe asks the page for document.title, and gives up after a second; answered or not, it calls
// `done`, so that whoever waits for the engine may look.
class TitleProbe {
 public:
  TitleProbe(WebKitWebView* view, std::function<void()> done);
  ~TitleProbe() { end(); }
  TitleProbe(const TitleProbe&) = delete;
  TitleProbe& operator=(const TitleProbe&) = delete;

  void start();
  // The probe is over, answered or not: calls `done`.
  void finish();
  // Forgets the question without calling `done` (a new load, a crash).
  void end();
  bool running() const { return running_; }
  // The page's answer; empty when none came.
  const std::string& title() const { return title_; }
  void forget_title() { title_.clear(); }

 private:
  static void on_answer(GObject* source, GAsyncResult* result, gpointer data);

  WebKitWebView* view_;
  std::function<void()> done_;
  bool running_ = false;
  std::string title_;
  GCancellable* cancel_ = nullptr;
  sigc::connection timeout_;
};

}  // namespace vel
