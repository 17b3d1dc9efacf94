// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sigc++/connection.h>
#include <webkit/webkit.h>

#include <functional>
#include <memory>

#include "webkit/engine_settings.h"

namespace vel {

// Watches one view's page process: checks that it answers after a command, and tells when it has
// stopped answering for a while (is-web-process-responsive) and when it answers again.
class PageWatchdog {
 public:
  PageWatchdog(WebKitWebView* view, WatchdogSettings settings,
               std::function<void(bool hung)> on_hung_changed);
  ~PageWatchdog();
  PageWatchdog(const PageWatchdog&) = delete;
  PageWatchdog& operator=(const PageWatchdog&) = delete;

  // A command was just given to the view. Unless the page answers a ping or a load starts within
  // answer_ms, `rescue` runs (it ends the process and gives the command again). A new command
  // replaces a check under way.
  void check(std::function<void()> rescue);
  // The user chose to wait: the notice goes and the wait starts afresh.
  void keep_waiting();
  // True while the user is told the page is not responding.
  bool hung() const { return hung_; }

  // What the view tells: a load started (the page's process, or a new one, is at work: the
  // command went through), the process answers or not, the process ended (it needs no rescue
  // and no notice; the engine shows its own message).
  void load_started() { end_check(); }
  // The page put a question to the user: it is alive, and waits for the user, not for a rescue.
  void page_asked() { end_check(); }
  void responsive_changed();
  void process_ended();

 private:
  void on_answer(unsigned check_id);
  void end_check();
  void arm_notice();
  void set_hung(bool hung);

  WebKitWebView* view_;
  WatchdogSettings settings_;
  std::function<void(bool)> on_hung_changed_;
  std::function<void()> rescue_;
  unsigned check_id_ = 0;
  sigc::connection deadline_, notice_;
  GCancellable* cancellable_;
  // Shared with pings on their way, which may answer after the watchdog is gone.
  std::shared_ptr<PageWatchdog*> self_;
  bool hung_ = false;
};

}  // namespace vel
