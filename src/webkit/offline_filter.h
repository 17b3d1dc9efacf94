// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sigc++/connection.h>
#include <sigc++/signal.h>
#include <webkit/webkit.h>

#include <string>

namespace vel {

// Working offline for one view: the engine's content filter blocks every web and websocket
// address, and a web page the view is asked for shows the offline page instead.
//
// The filter is compiled once into a store in the user's cache and loaded from there afterwards,
// which takes a moment. Until it is in, nothing opens while offline: what the user asks for then
// is held and opened once it is. Should the filter be impossible, web pages at least stay out.
class OfflineFilter {
 public:
  explicit OfflineFilter(WebKitWebView* view);
  ~OfflineFilter();
  OfflineFilter(const OfflineFilter&) = delete;
  OfflineFilter& operator=(const OfflineFilter&) = delete;

  // False when going offline is not possible, because the filter could not be made.
  bool set_offline(bool offline);

  // Raised when the offline page is about to stand in for a web page: a load of its own.
  sigc::signal<void()>& signal_offline_page() { return offline_page_; }

  // The view's navigation policy while offline: true when the decision was taken here.
  bool decide(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
  // A load that failed: true when the offline page stands in for it.
  bool load_failed(const char* uri, const GError* error);

 private:
  enum class State { Pending, Ready, Failed };

  static void on_loaded(GObject* store, GAsyncResult* result, gpointer self);
  static void on_saved(GObject* store, GAsyncResult* result, gpointer self);
  void ready(WebKitUserContentFilter* filter);
  void apply();
  void show_offline_page(const std::string& uri);

  WebKitWebView* view_;
  sigc::signal<void()> offline_page_;
  bool offline_ = false;
  State state_ = State::Pending;
  WebKitUserContentFilterStore* store_ = nullptr;
  WebKitUserContentFilter* filter_ = nullptr;
  GCancellable* cancel_ = nullptr;
  bool applied_ = false;
  sigc::connection page_idle_;
  std::string held_uri_;          // asked for while the filter was being made
  std::string offline_page_for_;  // the address the offline page is being shown for
};

}  // namespace vel
