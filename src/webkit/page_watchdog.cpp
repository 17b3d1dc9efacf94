// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/page_watchdog.h"

#include <glibmm/main.h>

#include <utility>

namespace vel {
namespace {

struct Ping {
  std::weak_ptr<PageWatchdog*> watchdog;
  unsigned id;
};

}  // namespace

PageWatchdog::PageWatchdog(WebKitWebView* view, WatchdogSettings settings,
                           std::function<void(bool)> on_hung_changed)
    : view_(view),
      settings_(settings),
      on_hung_changed_(std::move(on_hung_changed)),
      cancellable_(g_cancellable_new()),
      self_(std::make_shared<PageWatchdog*>(this)) {}

PageWatchdog::~PageWatchdog() {
  *self_ = nullptr;
  g_cancellable_cancel(cancellable_);
  g_object_unref(cancellable_);
  deadline_.disconnect();
  notice_.disconnect();
}

void PageWatchdog::check(std::function<void()> rescue) {
  end_check();
  rescue_ = std::move(rescue);
  const unsigned id = ++check_id_;
  webkit_web_view_evaluate_javascript(
      view_, "0", -1, nullptr, nullptr, cancellable_,
      +[](GObject* view, GAsyncResult* result, gpointer data) {
        std::unique_ptr<Ping> ping(static_cast<Ping*>(data));
        GError* error = nullptr;
        if (JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error))
          g_object_unref(value);
        // Any answer, an error too (no page, a page that forbids scripts), is the process alive;
        // a cancelled ping is the watchdog gone.
        const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
        if (error) g_error_free(error);
        if (auto self = ping->watchdog.lock(); self && *self && !cancelled)
          (*self)->on_answer(ping->id);
      },
      new Ping{self_, id});
  deadline_ = Glib::signal_timeout().connect(
      [this] {
        auto rescue = std::exchange(rescue_, nullptr);
        if (rescue) rescue();
        return false;
      },
      settings_.answer_ms);
}

void PageWatchdog::on_answer(unsigned check_id) {
  if (check_id == check_id_) end_check();
}

void PageWatchdog::end_check() {
  deadline_.disconnect();
  rescue_ = nullptr;
}

void PageWatchdog::keep_waiting() {
  set_hung(false);
  if (!webkit_web_view_get_is_web_process_responsive(view_)) arm_notice();
}

void PageWatchdog::process_ended() {
  end_check();
  notice_.disconnect();
  set_hung(false);
}

void PageWatchdog::responsive_changed() {
  if (webkit_web_view_get_is_web_process_responsive(view_)) {
    notice_.disconnect();
    set_hung(false);
  } else {
    arm_notice();
  }
}

void PageWatchdog::arm_notice() {
  notice_.disconnect();
  notice_ = Glib::signal_timeout().connect(
      [this] {
        if (!webkit_web_view_get_is_web_process_responsive(view_)) set_hung(true);
        return false;
      },
      settings_.notice_ms);
}

void PageWatchdog::set_hung(bool hung) {
  if (hung == hung_) return;
  hung_ = hung;
  on_hung_changed_(hung);
}

}  // namespace vel
