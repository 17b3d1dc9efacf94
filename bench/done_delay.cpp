// How long after the engine reports a finished load the status bar says "Done". Runs the real
// browser window with the real engine in this process, chooses an address the way a list choice
// does (which starts the progress monitor), and timestamps both events.
//
// usage: vel-done-delay RUNS NAME=ADDRESS...   prints "done_delay_ms NAME VALUE" per run.
#include <glib.h>
#include <gtkmm/application.h>
#include <gtkmm/comboboxtext.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "browser/browser_window.h"
#include "platform/graphics.h"
#include "platform/webkit_engine.h"

namespace {

constexpr unsigned kRunTimeoutMs = 30000;
constexpr unsigned kPauseMs = 300;

class DoneDelay {
 public:
  DoneDelay(Glib::RefPtr<Gtk::Application> app, int runs,
            std::vector<std::pair<std::string, std::string>> pages)
      : app_(std::move(app)), runs_(runs), pages_(std::move(pages)) {}

  void start() {
    form_ = std::make_unique<vel::BrowserWindow>(vel::make_webkit_engine());
    app_->add_window(*form_);
    form_->load();
    form_->engine().signal_load_finished().connect([this] {
      if (!finished_us_) finished_us_ = g_get_monotonic_time();
    });
    form_->status_bar().panel(2)->property_label().signal_changed().connect([this] {
      if (in_run_ && form_->status_bar().panel_text(2) == "Done") end_run(g_get_monotonic_time());
    });
    next_run();
  }

 private:
  void next_run() {
    if (page_ >= pages_.size()) {
      form_->hide();
      app_->quit();
      return;
    }
    finished_us_ = 0;
    in_run_ = true;
    form_->status_bar().set_panel_text(2, "");
    // A query of its own per run, so no run is served from a cache.
    const std::string address = pages_[page_].second + "?run=" + std::to_string(run_);
    form_->address_box().get_entry()->set_text(address);
    form_->on_address_chosen();
    timeout_ = Glib::signal_timeout().connect(
        [this] {
          std::printf("done_delay_ms %s n/a\n", pages_[page_].first.c_str());
          std::fflush(stdout);
          in_run_ = false;
          advance();
          return false;
        },
        kRunTimeoutMs);
  }

  void end_run(gint64 done_us) {
    in_run_ = false;
    timeout_.disconnect();
    if (finished_us_)
      std::printf("done_delay_ms %s %.2f\n", pages_[page_].first.c_str(),
                  static_cast<double>(done_us - finished_us_) / 1000.0);
    else
      std::printf("done_delay_ms %s n/a\n", pages_[page_].first.c_str());
    std::fflush(stdout);
    advance();
  }

  void advance() {
    if (++run_ >= runs_) {
      run_ = 0;
      ++page_;
    }
    // A pause between runs, so one load's aftermath does not fall into the next.
    Glib::signal_timeout().connect_once([this] { next_run(); }, kPauseMs);
  }

  Glib::RefPtr<Gtk::Application> app_;
  int runs_;
  std::vector<std::pair<std::string, std::string>> pages_;
  std::unique_ptr<vel::BrowserWindow> form_;
  std::size_t page_ = 0;
  int run_ = 0;
  bool in_run_ = false;
  gint64 finished_us_ = 0;
  sigc::connection timeout_;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fputs("usage: vel-done-delay RUNS NAME=ADDRESS...\n", stderr);
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  std::vector<std::pair<std::string, std::string>> pages;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto eq = arg.find('=');
    if (eq == std::string::npos) return 2;
    pages.emplace_back(arg.substr(0, eq), arg.substr(eq + 1));
  }
  // Draws as the program does on this machine.
  vel::ToolkitGraphicsChoice graphics;
  auto app = Gtk::Application::create("org.velbrowser.BenchDoneDelay",
                                      Gio::Application::Flags::NON_UNIQUE);
  graphics.restore();
  DoneDelay bench(app, runs, std::move(pages));
  app->signal_activate().connect([&] { bench.start(); });
  char* program[] = {argv[0], nullptr};
  return app->run(1, program);
}
