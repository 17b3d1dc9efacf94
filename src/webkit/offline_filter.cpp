// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/offline_filter.h"

#include <glibmm/main.h>

#include <utility>

#include "core/address.h"
#include "core/stand_in_pages.h"

namespace vel {
namespace {

// Patterns take no alternatives, so one rule per scheme pair.
constexpr const char* kFilterId = "vel-offline-1";
constexpr const char* kRules =
    R"([{"trigger":{"url-filter":"^https?://"},"action":{"type":"block"}},)"
    R"({"trigger":{"url-filter":"^wss?://"},"action":{"type":"block"}}])";

bool is_network_uri(const char* uri) {
  const std::string scheme = uri_scheme(uri ? uri : "");
  return scheme == "http" || scheme == "https" || scheme == "ws" || scheme == "wss";
}

}  // namespace

OfflineFilter::OfflineFilter(WebKitWebView* view) : view_(WEBKIT_WEB_VIEW(g_object_ref(view))) {
  cancel_ = g_cancellable_new();
  char* path = g_build_filename(g_get_user_cache_dir(), "vel-browser", "filters", nullptr);
  store_ = webkit_user_content_filter_store_new(path);
  g_free(path);
  webkit_user_content_filter_store_load(store_, kFilterId, cancel_, &OfflineFilter::on_loaded,
                                        this);
}

OfflineFilter::~OfflineFilter() {
  page_idle_.disconnect();
  g_cancellable_cancel(cancel_);
  g_object_unref(cancel_);
  if (filter_) webkit_user_content_filter_unref(filter_);
  g_object_unref(store_);
  g_object_unref(view_);
}

bool OfflineFilter::set_offline(bool offline) {
  offline_ = offline;
  apply();
  if (offline_ && !applied_) {
    // Until the filter is in, nothing more of the current page loads and no web page opens.
    webkit_web_view_stop_loading(view_);
    if (state_ == State::Failed) return false;
  }
  return true;
}

void OfflineFilter::on_loaded(GObject* store, GAsyncResult* result, gpointer data) {
  GError* error = nullptr;
  WebKitUserContentFilter* filter = webkit_user_content_filter_store_load_finish(
      WEBKIT_USER_CONTENT_FILTER_STORE(store), result, &error);
  // A cancelled step belongs to a filter that is gone: touch nothing.
  if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
    g_error_free(error);
    return;
  }
  g_clear_error(&error);
  auto* self = static_cast<OfflineFilter*>(data);
  if (filter) {
    self->ready(filter);
    return;
  }
  // Not compiled yet, or by an older program: compile it now.
  GBytes* rules = g_bytes_new_static(kRules, std::char_traits<char>::length(kRules));
  webkit_user_content_filter_store_save(self->store_, kFilterId, rules, self->cancel_,
                                        &OfflineFilter::on_saved, self);
  g_bytes_unref(rules);
}

void OfflineFilter::on_saved(GObject* store, GAsyncResult* result, gpointer data) {
  GError* error = nullptr;
  WebKitUserContentFilter* filter = webkit_user_content_filter_store_save_finish(
      WEBKIT_USER_CONTENT_FILTER_STORE(store), result, &error);
  if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
    g_error_free(error);
    return;
  }
  auto* self = static_cast<OfflineFilter*>(data);
  if (filter) {
    g_clear_error(&error);
    self->ready(filter);
    return;
  }
  g_warning("Working offline is not possible: %s", error ? error->message : "no filter");
  g_clear_error(&error);
  self->state_ = State::Failed;
  // What was held opens now, with web pages kept out by the policy check.
  if (!self->held_uri_.empty())
    webkit_web_view_load_uri(self->view_, std::exchange(self->held_uri_, {}).c_str());
}

void OfflineFilter::ready(WebKitUserContentFilter* filter) {
  filter_ = filter;
  state_ = State::Ready;
  apply();
}

void OfflineFilter::apply() {
  WebKitUserContentManager* manager = webkit_web_view_get_user_content_manager(view_);
  if (offline_ && !applied_ && filter_) {
    webkit_user_content_manager_add_filter(manager, filter_);
    applied_ = true;
  } else if (!offline_ && applied_) {
    webkit_user_content_manager_remove_filter(manager, filter_);
    applied_ = false;
  }
  if (!held_uri_.empty() && (applied_ || !offline_))
    webkit_web_view_load_uri(view_, std::exchange(held_uri_, {}).c_str());
}

// The offline page stands under the blocked page's own address, so that Refresh loads the page
// itself once back online.
bool OfflineFilter::load_failed(const char* uri, const GError* error) {
  if (!offline_ || !is_network_uri(uri)) return false;
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) return false;
  show_offline_page(uri);
  return true;
}

// While the filter is not in, this check keeps offline what it would have.
bool OfflineFilter::decide(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
  if (!offline_ || applied_ || type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return false;
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
      WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  WebKitURIRequest* request = webkit_navigation_action_get_request(action);
  const std::string uri = request ? webkit_uri_request_get_uri(request) : "";
  if (!offline_page_for_.empty() && uri == offline_page_for_) {
    offline_page_for_.clear();
    return false;
  }
  const bool main_frame = type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
                          !webkit_navigation_action_get_frame_name(action);
  if (state_ == State::Pending) {
    webkit_policy_decision_ignore(decision);
    if (main_frame) held_uri_ = uri;
    return true;
  }
  if (!is_network_uri(uri.c_str())) return false;
  webkit_policy_decision_ignore(decision);
  if (main_frame) show_offline_page(uri);
  return true;
}

void OfflineFilter::show_offline_page(const std::string& uri) {
  offline_page_for_ = uri;
  offline_page_.emit();
  // Not inside the engine's own signal: a reload would cancel a page loaded from there.
  page_idle_.disconnect();
  page_idle_ = Glib::signal_idle().connect([this, uri] {
    webkit_web_view_load_alternate_html(view_, stand_in_html(stand_in::offline()).c_str(),
                                        uri.c_str(), nullptr);
    return false;
  });
}

}  // namespace vel
