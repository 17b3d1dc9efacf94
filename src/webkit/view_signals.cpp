// SPDX-License-Identifier: GPL-3.0-or-later
// Every signal of the engine's view, connected once, here; each handler calls the engine's parts
// in the order written in it. The network session's "download-started", which every view shares,
// is here too.
#include "webkit/engine_impl.h"

namespace vel {

void WebKitEngine::connect_view() {
  g_signal_connect(view_, "decide-policy",
                   G_CALLBACK(+[](WebKitWebView*, WebKitPolicyDecision* decision,
                                  WebKitPolicyDecisionType type, gpointer self) {
                     return static_cast<WebKitEngine*>(self)->on_decide_policy(decision, type);
                   }),
                   this);
  g_signal_connect(view_, "load-changed",
                   G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer self) {
                     static_cast<WebKitEngine*>(self)->on_load_changed(event);
                   }),
                   this);
  g_signal_connect(
      view_, "load-failed",
      G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent, char* uri, GError* error, gpointer self) {
        return static_cast<WebKitEngine*>(self)->on_load_failed(uri, error);
      }),
      this);
  // A certificate that is not trusted ends the load: say so instead of showing an empty view.
  g_signal_connect(view_, "load-failed-with-tls-errors",
                   G_CALLBACK(+[](WebKitWebView*, char* uri, GTlsCertificate*, GTlsCertificateFlags,
                                  gpointer self) -> gboolean {
                     static_cast<WebKitEngine*>(self)->show_failure(
                         stand_in::untrusted_certificate(), uri ? uri : "");
                     return TRUE;
                   }),
                   this);
  g_signal_connect(view_, "notify::title", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
                     static_cast<WebKitEngine*>(self)->on_title_changed();
                   }),
                   this);
  g_signal_connect(view_, "notify::is-loading",
                   G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
                     static_cast<WebKitEngine*>(self)->on_is_loading_changed();
                   }),
                   this);
  g_signal_connect(view_, "notify::is-web-process-responsive",
                   G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
                     static_cast<WebKitEngine*>(self)->watchdog_.responsive_changed();
                   }),
                   this);
  g_signal_connect(
      view_, "web-process-terminated",
      G_CALLBACK(+[](WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer self) {
        static_cast<WebKitEngine*>(self)->on_page_process_ended(reason);
      }),
      this);
  g_signal_connect(view_, "script-dialog",
                   G_CALLBACK(+[](WebKitWebView*, WebKitScriptDialog* dialog, gpointer self) {
                     static_cast<WebKitEngine*>(self)->questions_.ask(dialog);
                     return TRUE;
                   }),
                   this);
  // A site's request for a name and password goes to the window as a question too; the kinds that
  // are not a password (certificates) are left to the engine's own handler.
  g_signal_connect(
      view_, "authenticate",
      G_CALLBACK(+[](WebKitWebView*, WebKitAuthenticationRequest* request, gpointer self) {
        return gboolean(static_cast<WebKitEngine*>(self)->questions_.sign_in(request));
      }),
      this);
  // Pop-ups open in the same view: this browser has one view.
  g_signal_connect(
      view_, "create",
      G_CALLBACK(+[](WebKitWebView* view, WebKitNavigationAction* action, gpointer) -> GtkWidget* {
        WebKitURIRequest* request = webkit_navigation_action_get_request(action);
        if (const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr; uri && *uri)
          webkit_web_view_load_uri(view, uri);
        return nullptr;
      }),
      this);
  // Location, camera, microphone, notifications: denied without asking.
  g_signal_connect(view_, "permission-request",
                   G_CALLBACK(+[](WebKitWebView*, WebKitPermissionRequest* request, gpointer) {
                     webkit_permission_request_deny(request);
                     return TRUE;
                   }),
                   this);
  // Downloads start in the network session, which every view shares; each view's part takes its
  // own.
  g_signal_connect(webkit_web_view_get_network_session(view_), "download-started",
                   G_CALLBACK(+[](WebKitNetworkSession*, WebKitDownload* download, gpointer self) {
                     static_cast<WebKitEngine*>(self)->downloads_.started(download);
                   }),
                   this);
}

void WebKitEngine::disconnect_view() {
  g_signal_handlers_disconnect_by_data(view_, this);
  g_signal_handlers_disconnect_by_data(webkit_web_view_get_network_session(view_), this);
}

gboolean WebKitEngine::on_decide_policy(WebKitPolicyDecision* decision,
                                        WebKitPolicyDecisionType type) {
  // 1. While offline, the offline filter decides alone: its page stands in for web pages.
  if (offline_filter_.decide(decision, type)) return TRUE;
  // 2. A response the view cannot show is downloaded.
  if (Downloads::decide(decision, type)) return TRUE;
  // 3. Addresses for other programs, and hosts and ports refused without asking the network.
  return check_navigation(decision, type, navigation_check_);
}

gboolean WebKitEngine::on_load_failed(const char* uri, const GError* error) {
  // 1. While offline, the offline page stands in for a web page that could not load.
  if (offline_filter_.load_failed(uri, error)) return TRUE;
  // 2. Else the failure's own page, unless the load was ended on purpose.
  const auto page = describe_failure(error, uri ? uri : "");
  if (!page) return FALSE;
  show_failure(*page, uri ? uri : "");
  return TRUE;
}

void WebKitEngine::on_load_changed(WebKitLoadEvent event) {
  stayed_ = false;
  switch (event) {
    case WEBKIT_LOAD_STARTED:
      // The command went through: the watchdog stops watching for it.
      watchdog_.load_started();
      forget_request();
      probe_.end();
      if (stand_in_ == StandIn::Asked) {
        stand_in_ = StandIn::Loading;
      } else {
        stand_in_ = StandIn::None;
        failed_uri_.clear();
      }
      break;
    case WEBKIT_LOAD_COMMITTED:
      // A new page: its dialogs are counted afresh, its title is yet to come.
      questions_.load_committed();
      title_seen_ = false;
      probe_.forget_title();
      break;
    case WEBKIT_LOAD_FINISHED: {
      // The end of a failed load whose stand-in page is on its way: that page's end counts.
      if (stand_in_ == StandIn::Asked) break;
      const bool quiet = stand_in_ == StandIn::Loading && stand_in_quiet_;
      stand_in_ = StandIn::None;
      // The engine may name the page a moment after the load has ended; stay loading until the
      // title is known, so whoever sees the load end also sees the finished page's title.
      if (!title_seen_) probe_.start();
      if (!quiet) load_finished_.emit();
      announce_if_settled();
      break;
    }
    case WEBKIT_LOAD_REDIRECTED:
      break;
  }
}

void WebKitEngine::on_page_process_ended(WebKitWebProcessTerminationReason reason) {
  // 1. A dialog of the page that is gone closes; 2. the watchdog has nothing more to rescue and
  // no notice to give (a notice shown goes: no notice over the stand-in page); 3. the page's
  // stand-in tells what happened.
  questions_.close();
  watchdog_.process_ended();
  forget_request();
  probe_.end();
  if (ending_for_command_) return;  // ended to go on with a command, which loads at once
  if (reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT)
    show_stand_in(stand_in::too_much_memory(), uri());
  else if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API)
    show_stand_in(stand_in::ended_not_responding(), uri());
  else
    show_stand_in(stand_in::stopped(), uri());
}

void WebKitEngine::on_title_changed() {
  title_seen_ = true;
  // Asked for the title and told it meanwhile: no need to wait for the answer.
  const char* title = webkit_web_view_get_title(view_);
  if (probe_.running() && title && *title) probe_.finish();
  title_changed_.emit();
}

void WebKitEngine::on_is_loading_changed() {
  if (webkit_web_view_is_loading(view_)) forget_request();
}

}  // namespace vel
