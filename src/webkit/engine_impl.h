// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sigc++/connection.h>
#include <webkit/webkit.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "core/stand_in_pages.h"
#include "engine/web_engine.h"
#include "webkit/downloads.h"
#include "webkit/engine_settings.h"
#include "webkit/load_failures.h"
#include "webkit/offline_filter.h"
#include "webkit/page_questions.h"
#include "webkit/page_watchdog.h"
#include "webkit/title_probe.h"
#include "webkit/webkit_find.h"

namespace vel {

// The web engine over one WebKitWebView. Its parts (the offline filter, downloads, the checks of
// navigations, the page's questions, the watchdog, the title probe, find) connect to nothing of the
// view: every signal of the view is connected once, in view_signals.cpp, whose handlers call the
// parts in the order written there. The operations are in webkit_engine.cpp.
class WebKitEngine final : public WebEngine {
 public:
  explicit WebKitEngine(const EngineSettings& settings);
  ~WebKitEngine() override;

  bool navigate(const std::string& address) override;
  void prepare(const std::string& address) override;
  bool go_back() override;
  bool go_forward() override;
  void load_home_page() override;
  void load_search_page() override;
  void stop() override;
  void keep_waiting() override;
  bool reload() override;
  bool set_offline(bool offline) override;
  void set_caret_browsing(bool on) override;
  bool caret_browsing() const override;
  bool is_loading() const override;
  std::string title() const override;
  std::string uri() const override;
  Gtk::Widget& widget() override { return *widget_; }
  void find(const std::string& text, bool forward) override { find_.find(text, forward); }
  void find_finish() override { find_.finish(); }
  void set_zoom(double level) override;
  double zoom() const override;
  void print(Gtk::Window& parent) override;
  void answer_page(const PageAnswer& answer) override;
  void cancel_downloads() override { downloads_.cancel_all(); }

 private:
  // view_signals.cpp: the view's signals and what each one does, in order.
  void connect_view();
  void disconnect_view();
  gboolean on_decide_policy(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
  gboolean on_load_failed(const char* uri, const GError* error);
  void on_load_changed(WebKitLoadEvent event);
  void on_page_process_ended(WebKitWebProcessTerminationReason reason);
  void on_title_changed();
  void on_is_loading_changed();

  // webkit_engine.cpp
  void open(const std::string& uri, const std::string& http_alternative = {});
  void watch_command(std::function<void()> again);
  void go_to(WebKitBackForwardListItem* item);
  void note_request();
  void on_page_question(const PageQuestion& question);
  void forget_request();
  void take_over_prepared_load();
  void announce_if_settled();
  void show_failure(const StandInPage& page, const std::string& uri);
  void show_stand_in(const StandInPage& page, const std::string& address, bool quiet = false,
                     const std::string& alternative = {});

  // Released last, after the parts that use the view have let go of it. The page's process
  // ends with the view: left alive, the engine would keep it for the next view's first page of
  // the same site, and a script of this page still running there (one that looped as the view
  // closed) would keep that page from ever loading.
  struct Unref {
    void operator()(WebKitWebView* view) const {
      webkit_web_view_terminate_web_process(view);
      g_object_unref(view);
    }
  };
  std::unique_ptr<WebKitWebView, Unref> owned_view_;
  WebKitWebView* view_;
  Gtk::Widget* widget_;
  OfflineFilter offline_filter_;
  Downloads downloads_;
  NavigationCheck navigation_check_;
  WebKitFind find_;
  TitleProbe probe_;
  PageQuestions questions_;
  PageWatchdog watchdog_;
  bool ending_for_command_ = false;

  bool request_pending_ = false;
  bool stayed_ = false;  // the user chose to stay on a page that asked, and no load began since
  sigc::connection request_timeout_;
  bool title_seen_ = false;
  // A stand-in page on its way (asked for, then loading) in place of a failed load.
  enum class StandIn { None, Asked, Loading } stand_in_ = StandIn::None;
  bool stand_in_quiet_ = false;
  std::string failed_uri_, failed_alternative_;          // what the stand-in page stands for
  std::pair<std::string, std::string> alternative_for_;  // the last address opened, its http one
  std::string prepared_uri_;                             // opening before the window asked for it
  sigc::connection prepared_end_idle_;
};

}  // namespace vel
