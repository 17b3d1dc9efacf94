// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/webkit_find.h"

#include <algorithm>

namespace vel {
namespace {

constexpr guint32 kOptions = WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND;
// Matches counted at most; more are told as this many plus one.
constexpr guint kMaxMatches = 1000;

}  // namespace

WebKitFind::WebKitFind(WebKitWebView* view, sigc::signal<void(unsigned)>& count)
    : controller_(WEBKIT_FIND_CONTROLLER(g_object_ref(webkit_web_view_get_find_controller(view)))),
      count_(count) {
  g_signal_connect(
      controller_, "counted-matches",
      G_CALLBACK(+[](WebKitFindController*, guint matches, gpointer self) {
        static_cast<WebKitFind*>(self)->count_.emit(std::min(matches, kMaxMatches + 1));
      }),
      this);
  g_signal_connect(controller_, "failed-to-find-text",
                   G_CALLBACK(+[](WebKitFindController*, gpointer self) {
                     static_cast<WebKitFind*>(self)->count_.emit(0);
                   }),
                   this);
}

WebKitFind::~WebKitFind() {
  g_signal_handlers_disconnect_by_data(controller_, this);
  g_object_unref(controller_);
}

void WebKitFind::find(const std::string& text, bool forward) {
  if (text.empty()) {
    finish();
    return;
  }
  if (text == text_) {
    if (forward)
      webkit_find_controller_search_next(controller_);
    else
      webkit_find_controller_search_previous(controller_);
    return;
  }
  text_ = text;
  // From the current match, so that typing on keeps the match in view while it still fits.
  webkit_find_controller_search(controller_, text.c_str(),
                                kOptions | (forward ? 0 : WEBKIT_FIND_OPTIONS_BACKWARDS),
                                kMaxMatches);
  webkit_find_controller_count_matches(controller_, text.c_str(), kOptions, kMaxMatches);
}

void WebKitFind::finish() {
  text_.clear();
  webkit_find_controller_search_finish(controller_);
}

}  // namespace vel
