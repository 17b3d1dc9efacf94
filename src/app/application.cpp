// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <glib-unix.h>
#include <glibmm/main.h>

#include <csignal>
#include <utility>

#include "config.h"
#include "webkit/web_context.h"
#include "webkit/webkit_engine.h"
#include "windows/about/about_window.h"
#include "windows/browser/browser_window.h"
#include "windows/clock/clock_window.h"

namespace vel {

Glib::RefPtr<Application> Application::create(std::string starting_address, EngineFactory engines,
                                              bool private_run) {
  return Glib::make_refptr_for_instance<Application>(
      new Application(std::move(starting_address), std::move(engines), private_run));
}

Application::Application(std::string starting_address, EngineFactory engines, bool private_run)
    : Gtk::Application(config::kAppId, Gio::Application::Flags::NON_UNIQUE),
      starting_address_(std::move(starting_address)),
      private_run_(private_run),
      engines_(engines ? std::move(engines) : EngineFactory([private_run] {
        EngineSettings settings;
        settings.private_run = private_run;
        return make_webkit_engine(settings);
      })) {}

Application::~Application() {
  for (const unsigned watch : signal_watches_) g_source_remove(watch);
}

// Closing a window only hides it; it is dropped right after the close has been handled, which
// destroys it whole (timers, engine). A window GTK destroyed by itself would leave a dead object
// behind for the next show.
template <class Window>
void Application::drop_when_closed(std::unique_ptr<Window>& slot) {
  slot->set_hide_on_close(true);
  slot->signal_close_request().connect(
      [&slot] {
        Glib::signal_idle().connect_once([&slot] {
          if (slot && !slot->get_visible()) slot.reset();
        });
        return false;
      },
      false);
}

void Application::on_startup() {
  // The page process takes longer to start than the window takes to build: set it going first,
  // even before the application has finished starting (GTK itself is up by now).
  if (!starting_address_.empty()) {
    first_engine_ = engines_();
    first_engine_->prepare(starting_address_);
  }
  Gtk::Application::on_startup();
  add_action("clock", [this] { show_clock_window(); });
  add_action("about", [this] { about_growth_.open(); });
  add_action("quit", [this] { quit_program(); });
  // Asked to end by the session or a terminal (logout, kill, Ctrl+C): end as Exit does, with
  // status 0. Once only: a second signal finds the default handler back and ends the process.
  for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    signal_watches_.push_back(g_unix_signal_add(
        signal,
        +[](gpointer self) -> gboolean {
          auto& app = *static_cast<Application*>(self);
          // Every watch goes: a second signal of any of the three ends the process at once.
          for (const unsigned watch : std::exchange(app.signal_watches_, {}))
            if (watch != g_source_get_id(g_main_current_source())) g_source_remove(watch);
          app.quit_program();
          return G_SOURCE_REMOVE;
        },
        this));
}

void Application::on_activate() {
  show_browser_window();
}

BrowserWindow& Application::show_browser_window() {
  if (browser_window_) {
    browser_window_->present();
    return *browser_window_;
  }
  browser_window_ =
      std::make_unique<BrowserWindow>(first_engine_ ? std::move(first_engine_) : engines_());
  add_window(*browser_window_);
  drop_when_closed(browser_window_);
  if (private_run_) browser_window_->mark_private();
  // The address given on the command line is for the first window only.
  browser_window_->present_and_open(std::exchange(starting_address_, {}));
  // Said once, over the first window: sites' data that cannot be kept, or a damaged cookie file.
  if (auto [problem, detail] = take_site_data_problem(); !problem.empty())
    browser_window_->tell(problem, detail);
  return *browser_window_;
}

ClockWindow& Application::show_clock_window() {
  if (!clock_window_) {
    clock_window_ = std::make_unique<ClockWindow>();
    add_window(*clock_window_);
    clock_window_->signal_show_browser().connect([this] { show_browser_window(); });
    // Closed, it is dropped: its timers stop and the next opening starts afresh.
    drop_when_closed(clock_window_);
  }
  clock_window_->present();
  return *clock_window_;
}

AboutWindow& Application::make_about_window() {
  if (about_window_) return *about_window_;
  about_window_ = std::make_unique<AboutWindow>(about_growth_);
  add_window(*about_window_);
  about_window_->signal_show_browser().connect([this] { show_browser_window(); });
  // The close box runs none of the OK steps: the window is simply dropped.
  drop_when_closed(about_window_);
  return *about_window_;
}

void Application::quit_program() {
  for (auto* window : get_windows()) window->hide();
  quit();
}

}  // namespace vel
