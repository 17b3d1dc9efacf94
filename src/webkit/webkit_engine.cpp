// SPDX-License-Identifier: GPL-3.0-or-later
#include "webkit/webkit_engine.h"

#include <glibmm/main.h>
#include <gtkmm/eventcontrollerlegacy.h>
#include <gtkmm/widget.h>

#include "core/address.h"
#include "core/builtin_addresses.h"
#include "toolkit/launcher.h"
#include "toolkit/memory.h"
#include "webkit/engine_impl.h"
#include "webkit/web_context.h"
#include "webkit/webkit_print.h"

namespace vel {
namespace {

// How long a requested navigation counts as loading before the engine reports that it started.
// Navigations that the engine drops without a load (a jump within the page) end this way.
constexpr unsigned kRequestGraceMs = 2000;

WebKitWebView* new_view(const EngineSettings& settings) {
  WebKitWebContext* context = set_up_web_context(settings.memory);
  WebKitNetworkSession* session = set_up_network_session(settings.private_run);
  // A group to a reader, so that it hears the page's title as the view's name: from GTK 4.14
  // on, the toolkit gives no name to a widget of its default role, which is all a view has.
  auto* view =
      WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "network-session",
                                   session, "accessible-role", GTK_ACCESSIBLE_ROLE_GROUP, nullptr));
  g_object_ref_sink(view);
  return view;
}

}  // namespace

std::unique_ptr<WebEngine> make_webkit_engine(const EngineSettings& settings) {
  return std::make_unique<WebKitEngine>(settings);
}

WebKitEngine::WebKitEngine(const EngineSettings& settings)
    : owned_view_(new_view(settings)),
      view_(owned_view_.get()),
      widget_(Glib::wrap(GTK_WIDGET(view_))),
      offline_filter_(view_),
      downloads_(view_, [this](const DownloadEvent& event) { download_.emit(event); }),
      navigation_check_{
          [this](const std::string& uri) { open(uri); },
          [this](const StandInPage& page, const std::string& uri) { show_failure(page, uri); }},
      find_(view_, match_count_),
      probe_(view_, [this] { announce_if_settled(); }),
      questions_(
          view_, [this](const PageQuestion& question) { on_page_question(question); },
          [this] { page_question_withdrawn_.emit(); }),
      watchdog_(view_, settings.watchdog, [this](bool hung) { responsive_.emit(!hung); }) {
  // Busy until the offline page is in, so whoever waits for the load sees that page.
  offline_filter_.signal_offline_page().connect([this] { note_request(); });
  connect_view();
  // The first key or click in a page switches spelling on (not at start: its dictionary is big).
  auto first_input = Gtk::EventControllerLegacy::create();
  first_input->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
  first_input->signal_event().connect(
      [](const Glib::RefPtr<const Gdk::Event>& event) {
        const Gdk::Event::Type type = event->get_event_type();
        if (type == Gdk::Event::Type::KEY_PRESS || type == Gdk::Event::Type::BUTTON_PRESS)
          check_spelling_soon();
        return false;
      },
      false);
  widget_->add_controller(first_input);
}

WebKitEngine::~WebKitEngine() {
  request_timeout_.disconnect();
  prepared_end_idle_.disconnect();
  probe_.end();
  disconnect_view();
}

// --- Operations ---------------------------------------------------------------------------------

bool WebKitEngine::navigate(const std::string& address) {
  const AddressResult result = interpret_address(address);
  if (result.kind == AddressResult::Kind::Empty) return false;
  // A page's dialog never holds up leaving it; only its question whether to leave waits.
  questions_.leave();
  if (result.kind != AddressResult::Kind::Uri) {
    // Not the load of an address: no load's end is raised, so the box keeps the text.
    show_stand_in(stand_in::refused_address(result.reason), {}, true);
    return false;
  }
  if (!prepared_uri_.empty() && std::exchange(prepared_uri_, {}) == result.uri) {
    take_over_prepared_load();
    return true;
  }
  open(result.uri, result.http_alternative);
  watch_command([this, result] { open(result.uri, result.http_alternative); });
  return true;
}

void WebKitEngine::prepare(const std::string& address) {
  const AddressResult result = interpret_address(address);
  // Refused addresses are left to navigate, which tells the user.
  if (result.kind != AddressResult::Kind::Uri) return;
  note_request();
  webkit_web_view_load_uri(view_, result.uri.c_str());
  prepared_uri_ = result.uri;
}

bool WebKitEngine::go_back() {
  if (!webkit_web_view_can_go_back(view_)) return false;
  questions_.leave();
  go_to(webkit_back_forward_list_get_back_item(webkit_web_view_get_back_forward_list(view_)));
  return true;
}

bool WebKitEngine::go_forward() {
  if (!webkit_web_view_can_go_forward(view_)) return false;
  questions_.leave();
  go_to(webkit_back_forward_list_get_forward_item(webkit_web_view_get_back_forward_list(view_)));
  return true;
}

void WebKitEngine::load_home_page() {
  navigate(kHomeAddress);
}

void WebKitEngine::load_search_page() {
  navigate(kSearchAddress);
}

void WebKitEngine::stop() {
  forget_request();
  questions_.close();
  if (watchdog_.hung()) {
    webkit_web_view_terminate_web_process(view_);
    return;
  }
  webkit_web_view_stop_loading(view_);
  watchdog_.check([this] { webkit_web_view_terminate_web_process(view_); });
}

void WebKitEngine::keep_waiting() {
  watchdog_.keep_waiting();
}

bool WebKitEngine::reload() {
  questions_.leave();
  // The view shows a stand-in page: try the page itself again.
  if (!failed_uri_.empty()) {
    open(failed_uri_, failed_alternative_);
    return true;
  }
  const char* shown = webkit_web_view_get_uri(view_);
  if (!shown) return false;
  note_request();
  webkit_web_view_reload(view_);
  watch_command([this, uri = std::string(shown)] { open(uri); });
  return true;
}

bool WebKitEngine::set_offline(bool offline) {
  return offline_filter_.set_offline(offline);
}

void WebKitEngine::set_caret_browsing(bool on) {
  webkit_settings_set_enable_caret_browsing(webkit_web_view_get_settings(view_), on);
}

bool WebKitEngine::caret_browsing() const {
  return webkit_settings_get_enable_caret_browsing(webkit_web_view_get_settings(view_));
}

bool WebKitEngine::is_loading() const {
  return request_pending_ || probe_.running() || (webkit_web_view_is_loading(view_) && !stayed_);
}

std::string WebKitEngine::title() const {
  const char* title = webkit_web_view_get_title(view_);
  if (title && *title) return title;
  return probe_.title();
}

std::string WebKitEngine::uri() const {
  if (!failed_uri_.empty()) return failed_uri_;  // a stand-in page's, even before it is in
  const char* uri = webkit_web_view_get_uri(view_);
  if (stayed_)
    if (auto* item =
            webkit_back_forward_list_get_current_item(webkit_web_view_get_back_forward_list(view_)))
      uri = webkit_back_forward_list_item_get_uri(item);
  return std::string(uri ? uri : "");
}

void WebKitEngine::set_zoom(double level) {
  webkit_web_view_set_zoom_level(view_, level);
}

double WebKitEngine::zoom() const {
  return webkit_web_view_get_zoom_level(view_);
}

void WebKitEngine::answer_page(const PageAnswer& answer) {
  if (questions_.answer(answer)) {
    // The user stays on the page: the command that would have left it ends here. WebKit goes on
    // counting that navigation as loading, under its address, until the next one: the engine
    // tells the page that stays instead.
    forget_request();
    stayed_ = true;
    announce_if_settled();
  } else if (request_pending_ && !request_timeout_.connected()) {
    note_request();  // leaving: the command goes on, and its load is watched for as usual
  }
}

void WebKitEngine::print(Gtk::Window& parent) {
  run_print_dialog(view_, parent.gobj());
}

// --- The page's questions ---------------------------------------------------------------------

void WebKitEngine::on_page_question(const PageQuestion& question) {
  // A page that asks is alive: the watchdog has no command to rescue. A command that waits for the
  // user's answer whether to leave the page stays under way however long the user takes.
  watchdog_.page_asked();
  if (question.kind == PageQuestion::Kind::Leave && request_pending_) request_timeout_.disconnect();
  page_question_.emit(question);
}

// --- Loads --------------------------------------------------------------------------------------

// Opens an address in the view, or, for a scheme that belongs to another program, in that (or
// says that none can).
void WebKitEngine::open(const std::string& uri, const std::string& http_alternative) {
  if (!shown_in_view(uri_scheme(uri))) {
    if (!open_with_desktop(uri).started) show_failure(stand_in::no_handler(uri), uri);
    return;
  }
  note_request();
  alternative_for_ = {uri, http_alternative};
  webkit_web_view_load_uri(view_, uri.c_str());
}

// The command just given must reach the page's process: should that process not answer, it is
// ended without a message and the command is given again (`again`), to a new process.
void WebKitEngine::watch_command(std::function<void()> again) {
  watchdog_.check([this, again = std::move(again)] {
    ending_for_command_ = true;
    webkit_web_view_terminate_web_process(view_);
    ending_for_command_ = false;
    again();
  });
}

// Back or Forward to an entry of the history, given again to a new process if need be.
// The retry holds the entry: the list may drop it (a page that navigates) before the retry runs.
void WebKitEngine::go_to(WebKitBackForwardListItem* item) {
  note_request();
  webkit_web_view_go_to_back_forward_list_item(view_, item);
  std::shared_ptr<WebKitBackForwardListItem> held(WEBKIT_BACK_FORWARD_LIST_ITEM(g_object_ref(item)),
                                                  [](auto* i) { g_object_unref(i); });
  watch_command([this, held] {
    note_request();
    webkit_web_view_go_to_back_forward_list_item(view_, held.get());
  });
}

void WebKitEngine::note_request() {
  request_pending_ = true;
  stayed_ = false;
  request_timeout_.disconnect();
  request_timeout_ = Glib::signal_timeout().connect(
      [this] {
        request_pending_ = false;
        return false;
      },
      kRequestGraceMs);
}

// The engine has taken the request over (or it is void): its own state tells from now on.
void WebKitEngine::forget_request() {
  request_pending_ = false;
  request_timeout_.disconnect();
}

// A window asked for the address that is already opening. Should that load have ended before
// the window was there to hear it, tell the window now, as the load's end would have.
void WebKitEngine::take_over_prepared_load() {
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

void WebKitEngine::announce_if_settled() {
  if (is_loading()) return;
  settled_.emit();
  release_free_memory_when_idle();
}

// A stand-in page in place of the page at `uri`, which Refresh tries again.
void WebKitEngine::show_failure(const StandInPage& page, const std::string& uri) {
  // Over http only when no scheme was typed and https failed, and only as the user's choice.
  const bool offer = page.insecure_alternative_helps && uri == alternative_for_.first;
  show_stand_in(page, uri, false, offer ? alternative_for_.second : "");
}

// Showing the page is a load of its own, under the address it stands for (or the current one):
// loading until it is in. A quiet one raises no load's end.
void WebKitEngine::show_stand_in(const StandInPage& page, const std::string& address, bool quiet,
                                 const std::string& alternative) {
  note_request();
  stand_in_ = StandIn::Asked;
  stand_in_quiet_ = quiet;
  if (!quiet) {
    failed_uri_ = address;
    failed_alternative_ = alternative;
  }
  const char* current = webkit_web_view_get_uri(view_);
  const std::string base = !address.empty() ? address : current ? current : "about:blank";
  webkit_web_view_load_alternate_html(view_, stand_in_html(page, address, alternative).c_str(),
                                      base.c_str(), nullptr);
}

}  // namespace vel
