// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/title_probe.h"

#include <glibmm/main.h>

namespace vel {
namespace {
constexpr unsigned kTitleProbeMs = 1000;
}  // namespace

TitleProbe::TitleProbe(WebKitWebView* view, std::function<void()> done)
    : view_(view), done_(std::move(done)) {}

void TitleProbe::start() {
  end();
  running_ = true;
  cancel_ = g_cancellable_new();
  webkit_web_view_evaluate_javascript(view_, "document.title", -1, nullptr, nullptr, cancel_,
                                      &TitleProbe::on_answer, this);
  timeout_ = Glib::signal_timeout().connect(
      [this] {
        finish();
        return false;
      },
      kTitleProbeMs);
}

void TitleProbe::on_answer(GObject* source, GAsyncResult* result, gpointer data) {
  GError* error = nullptr;
  JSCValue* value =
      webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
  if (error) {
    // A cancelled probe belongs to an engine that may be gone: touch nothing.
    const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    g_error_free(error);
    if (!cancelled) static_cast<TitleProbe*>(data)->finish();
    return;
  }
  auto* self = static_cast<TitleProbe*>(data);
  if (jsc_value_is_string(value)) {
    char* text = jsc_value_to_string(value);
    self->title_ = text;
    g_free(text);
  }
  g_object_unref(value);
  self->finish();
}

void TitleProbe::finish() {
  end();
  done_();
}

void TitleProbe::end() {
  timeout_.disconnect();
  if (cancel_) {
    g_cancellable_cancel(cancel_);
    g_object_unref(cancel_);
    cancel_ = nullptr;
  }
  running_ = false;
}

}  // namespace vel
