// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/webkit_engine.h"

#include <glibmm/main.h>
#include <gtkmm/widget.h>
#include <webkit/webkit.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "core/address.h"
#include "core/builtin_addresses.h"
#include "webkit/builtin_pages.h"
#include "webkit/downloads.h"
#include "webkit/load_failures.h"
#include "webkit/offline_filter.h"
#include "webkit/page_watchdog.h"
#include "webkit/script_dialogs.h"
#include "webkit/title_probe.h"
#include "webkit/webkit_find.h"
#include "webkit/webkit_print.h"
#include "toolkit/launcher.h"
#include "toolkit/memory.h"

namespace vel {
namespace {

// How long a requested navigation counts as loading before the engine reports that it started.
// Navigations that the engine drops without a load (a jump within the page) end this way.
constexpr unsigned kRequestGraceMs = 2000;

class WebKitEngine final : public WebEngine {
 public:
  explicit WebKitEngine(const EngineSettings& settings)
      : owned_view_(new_view(settings.memory)),
        view_(owned_view_.get()),
        widget_(Glib::wrap(GTK_WIDGET(view_))),
        offline_filter_(view_),
        downloads_(view_),
        find_(view_, match_count_),
        probe_(view_, [this] { announce_if_settled(); }),
        dialogs_(view_),
        watchdog_(view_, settings.watchdog, [this](bool hung) { responsive_.emit(!hung); }) {
    // Busy until the offline page is in, so whoever waits for the load sees that page.
    offline_filter_.signal_offline_page().connect([this] { note_request(); });

    g_signal_connect(view_, "load-changed",
                     G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer self) {
                       static_cast<WebKitEngine*>(self)->on_load_changed(event);
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
    // Pop-ups open in the same view: this browser has one view.
    g_signal_connect(
        view_, "create",
        G_CALLBACK(
            +[](WebKitWebView* view, WebKitNavigationAction* action, gpointer) -> GtkWidget* {
              WebKitURIRequest* request = webkit_navigation_action_get_request(action);
              if (const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
                  uri && *uri)
                webkit_web_view_load_uri(view, uri);
              return nullptr;
            }),
        nullptr);
    // Location, camera, microphone, notifications: denied without asking.
    g_signal_connect(view_, "permission-request",
                     G_CALLBACK(+[](WebKitWebView*, WebKitPermissionRequest* request, gpointer) {
                       webkit_permission_request_deny(request);
                       return TRUE;
                     }),
                     nullptr);
    // After the offline filter's: while offline, its page stands in for web pages.
    watch_failures(view_, [this](const Failure& failure, const std::string& uri) {
      show_failure(failure, uri);
    });
    check_navigations(
        view_, [this](const std::string& uri) { open(uri); },
        [this](const Failure& failure, const std::string& uri) { show_failure(failure, uri); });
    g_signal_connect(
        view_, "web-process-terminated",
        G_CALLBACK(+[](WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer self) {
          static_cast<WebKitEngine*>(self)->on_page_process_ended(reason);
        }),
        this);
  }

  ~WebKitEngine() override {
    request_timeout_.disconnect();
    prepared_end_idle_.disconnect();
    probe_.end();
    g_signal_handlers_disconnect_by_data(view_, this);
    stop_watching(view_);
  }

  bool navigate(const std::string& address) override {
    const AddressResult result = interpret_address(address);
    if (result.kind == AddressResult::Kind::Empty) return false;
    // A page's dialog never holds up leaving it.
    dialogs_.leave();
    if (result.kind != AddressResult::Kind::Uri) {
      // Not the load of an address: no load's end is raised, so the box keeps the text.
      show_message("Vel cannot open this address", result.reason, {}, true);
      return false;
    }
    if (!prepared_uri_.empty() && std::exchange(prepared_uri_, {}) == result.uri) {
      take_over_prepared_load();
      return true;
    }
    const bool opened = open(result.uri, result.http_alternative);
    watch_command([this, result] { open(result.uri, result.http_alternative); });
    return opened;
  }

  void prepare(const std::string& address) override {
    const AddressResult result = interpret_address(address);
    // Refused addresses are left to navigate, which tells the user.
    if (result.kind != AddressResult::Kind::Uri) return;
    note_request();
    webkit_web_view_load_uri(view_, result.uri.c_str());
    prepared_uri_ = result.uri;
  }

  bool go_back() override {
    if (!webkit_web_view_can_go_back(view_)) return false;
    dialogs_.leave();
    go_to(webkit_back_forward_list_get_back_item(webkit_web_view_get_back_forward_list(view_)));
    return true;
  }

  bool go_forward() override {
    if (!webkit_web_view_can_go_forward(view_)) return false;
    dialogs_.leave();
    go_to(webkit_back_forward_list_get_forward_item(webkit_web_view_get_back_forward_list(view_)));
    return true;
  }

  bool load_home_page() override { return navigate(kHomeAddress); }
  bool load_search_page() override { return navigate(kSearchAddress); }

  // A page that does not answer is ended: the crashed page's message takes its place.
  bool stop() override {
    forget_request();
    dialogs_.close();
    if (watchdog_.hung()) {
      webkit_web_view_terminate_web_process(view_);
      return true;
    }
    webkit_web_view_stop_loading(view_);
    watchdog_.check([this] { webkit_web_view_terminate_web_process(view_); });
    return true;
  }

  void keep_waiting() override { watchdog_.keep_waiting(); }

  bool reload() override {
    dialogs_.leave();
    // The view shows our message in place of a page: try the page itself again.
    if (!failed_uri_.empty()) return open(failed_uri_, failed_alternative_);
    const char* shown = webkit_web_view_get_uri(view_);
    if (!shown) return false;
    note_request();
    webkit_web_view_reload(view_);
    watch_command([this, uri = std::string(shown)] { open(uri); });
    return true;
  }

  bool set_offline(bool offline) override { return offline_filter_.set_offline(offline); }
  bool set_caret_browsing(bool on) override {
    webkit_settings_set_enable_caret_browsing(webkit_web_view_get_settings(view_), on);
    return true;
  }
  bool caret_browsing() const override {
    return webkit_settings_get_enable_caret_browsing(webkit_web_view_get_settings(view_));
  }

  bool is_loading() const override {
    return request_pending_ || probe_.running() || webkit_web_view_is_loading(view_);
  }

  std::string title() const override {
    const char* title = webkit_web_view_get_title(view_);
    if (title && *title) return title;
    return probe_.title();
  }

  std::string uri() const override {
    if (!failed_uri_.empty()) return failed_uri_;  // a message page's, even before it is in
    const char* uri = webkit_web_view_get_uri(view_);
    return std::string(uri ? uri : "");
  }

  sigc::signal<void()>& signal_load_finished() override { return load_finished_; }

  Gtk::Widget& widget() override { return *widget_; }

  void find(const std::string& text, bool forward) override { find_.find(text, forward); }
  void find_finish() override { find_.finish(); }
  void set_zoom(double level) override { webkit_web_view_set_zoom_level(view_, level); }
  double zoom() const override { return webkit_web_view_get_zoom_level(view_); }
  void print(Gtk::Window& parent) override { run_print_dialog(view_, parent.gobj()); }

 private:
  static WebKitWebView* new_view(const MemoryLimitSettings& memory) {
    WebKitWebContext* context = set_up_web_context(memory);
    // A group to a reader, so that it hears the page's title as the view's name: from GTK 4.14
    // on, the toolkit gives no name to a widget of its default role, which is all a view has.
    auto* view =
        WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                     "accessible-role", GTK_ACCESSIBLE_ROLE_GROUP, nullptr));
    g_object_ref_sink(view);
    return view;
  }

  // Opens an address in the view, or, for a scheme that belongs to another program, in that.
  bool open(const std::string& uri, const std::string& http_alternative = {}) {
    if (!shown_in_view(uri_scheme(uri))) {
      if (!open_with_desktop(uri).started) show_failure(no_handler(uri), uri);
      return true;
    }
    note_request();
    alternative_for_ = {uri, http_alternative};
    webkit_web_view_load_uri(view_, uri.c_str());
    return true;
  }

  // The command just given must reach the page's process: should that process not answer, it is
  // ended without a message and the command is given again (`again`), to a new process.
  void watch_command(std::function<void()> again) {
    watchdog_.check([this, again = std::move(again)] {
      ending_for_command_ = true;
      webkit_web_view_terminate_web_process(view_);
      ending_for_command_ = false;
      again();
    });
  }

  // Back or Forward to an entry of the history, given again to a new process if need be.
  // The retry holds the entry: the list may drop it (a page that navigates) before the retry runs.
  void go_to(WebKitBackForwardListItem* item) {
    note_request();
    webkit_web_view_go_to_back_forward_list_item(view_, item);
    std::shared_ptr<WebKitBackForwardListItem> held(
        WEBKIT_BACK_FORWARD_LIST_ITEM(g_object_ref(item)), [](auto* i) { g_object_unref(i); });
    watch_command([this, held] {
      note_request();
      webkit_web_view_go_to_back_forward_list_item(view_, held.get());
    });
  }

  void note_request() {
    request_pending_ = true;
    request_timeout_.disconnect();
    request_timeout_ = Glib::signal_timeout().connect(
        [this] {
          request_pending_ = false;
          return false;
        },
        kRequestGraceMs);
  }

  // A window asked for the address that is already opening. Should that load have ended before
  // the window was there to hear it, tell the window now, as the load's end would have.
  void take_over_prepared_load() {
    if (is_loading()) return;
    prepared_end_idle_.disconnect();
    // At the priority of the engine's own events, so that drawing the new window does not hold
    // it back behind the progress monitor's next look. (signal_idle().connect leaves an idle
    // source at idle priority when asked for the default one, hence the source of our own.)
    const auto source = Glib::IdleSource::create();
    source->set_priority(Glib::PRIORITY_DEFAULT);
    prepared_end_idle_ = source->connect([this] {
      load_finished_.emit();
      announce_if_settled();
      return false;
    });
    source->attach();
  }

  void on_title_changed() {
    title_seen_ = true;
    // Asked for the title and told it meanwhile: no need to wait for the answer.
    const char* title = webkit_web_view_get_title(view_);
    if (probe_.running() && title && *title) probe_.finish();
    title_changed_.emit();
  }

  // The engine has taken the request over (or it is void): its own state tells from now on.
  void forget_request() {
    request_pending_ = false;
    request_timeout_.disconnect();
  }

  void on_is_loading_changed() {
    if (webkit_web_view_is_loading(view_)) forget_request();
  }

  void on_load_changed(WebKitLoadEvent event) {
    switch (event) {
      case WEBKIT_LOAD_STARTED:
        forget_request();
        probe_.end();
        if (message_ == Message::Asked) {
          message_ = Message::Loading;
        } else {
          message_ = Message::None;
          failed_uri_.clear();
        }
        break;
      case WEBKIT_LOAD_COMMITTED:
        title_seen_ = false;
        probe_.forget_title();
        break;
      case WEBKIT_LOAD_FINISHED: {
        // The end of a failed load whose message page is on its way: that page's end counts.
        if (message_ == Message::Asked) break;
        const bool quiet = message_ == Message::Loading && message_quiet_;
        message_ = Message::None;
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

  void announce_if_settled() {
    if (is_loading()) return;
    settled_.emit();
    release_free_memory_when_idle();
  }

  void on_page_process_ended(WebKitWebProcessTerminationReason reason) {
    forget_request();
    probe_.end();
    responsive_.emit(true);           // no notice over the message
    if (ending_for_command_) return;  // ended to go on with a command, which loads at once
    if (reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT) {
      show_message("This page used too much memory",
                   "The page used too much memory and was stopped. Refresh to load it again.",
                   uri());
      return;
    }
    show_message("This page has stopped",
                 reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API
                     ? "The page was not responding and was stopped. Refresh to load it again."
                     : "The page stopped working. Refresh to load it again.",
                 uri());
  }

  // A message page in place of the page at `uri`, which Refresh tries again.
  void show_failure(const Failure& failure, const std::string& uri) {
    // Over http only when no scheme was typed and https failed, and only as the user's choice.
    const bool offer = failure.insecure_alternative_helps && uri == alternative_for_.first;
    show_message(failure.title, failure.text, uri, false, offer ? alternative_for_.second : "");
  }

  // Showing the message is a load of its own, under the address it stands for (or the current
  // one): loading until it is in. A quiet one raises no load's end.
  void show_message(std::string_view title, std::string_view text, const std::string& address,
                    bool quiet = false, const std::string& alternative = {}) {
    note_request();
    message_ = Message::Asked;
    message_quiet_ = quiet;
    if (!quiet) {
      failed_uri_ = address;
      failed_alternative_ = alternative;
    }
    const char* current = webkit_web_view_get_uri(view_);
    const std::string base = !address.empty() ? address : current ? current : "about:blank";
    webkit_web_view_load_alternate_html(
        view_, message_page(title, text, address, alternative).c_str(), base.c_str(), nullptr);
  }

  // Released last, after the members that watch the view have let go of it. The page's process
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
  WebKitFind find_;
  TitleProbe probe_;
  ScriptDialogs dialogs_;
  PageWatchdog watchdog_;
  bool ending_for_command_ = false;
  sigc::signal<void()> load_finished_;

  bool request_pending_ = false;
  sigc::connection request_timeout_;
  bool title_seen_ = false;
  // A message page on its way (asked for, then loading) in place of a failed load.
  enum class Message { None, Asked, Loading } message_ = Message::None;
  bool message_quiet_ = false;
  std::string failed_uri_, failed_alternative_;          // what the message page stands for
  std::pair<std::string, std::string> alternative_for_;  // the last address opened, its http one
  std::string prepared_uri_;                             // opening before the window asked for it
  sigc::connection prepared_end_idle_;
};

}  // namespace

std::unique_ptr<WebEngine> make_webkit_engine(const EngineSettings& settings) {
  return std::make_unique<WebKitEngine>(settings);
}

}  // namespace vel
