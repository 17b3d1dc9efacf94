// SPDX-License-Identifier: GPL-3.0-or-later
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

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "support/main_loop.h"
#include "support/seam.h"
#include "toolkit/graphics.h"
#include "webkit/webkit_engine.h"
#include "windows/browser/browser_window.h"

namespace {

constexpr std::chrono::seconds kRunTimeout(30);
constexpr std::chrono::milliseconds kPause(300);

void run(Glib::RefPtr<Gtk::Application> app, int runs,
         const std::vector<std::pair<std::string, std::string>>& pages) {
  vel::BrowserWindow window(vel::make_webkit_engine());
  app->add_window(window);
  window.present_and_open();
  gint64 finished_us = 0, done_us = 0;
  vel::test::Seam::engine(window).signal_load_finished().connect([&] {
    if (!finished_us) finished_us = g_get_monotonic_time();
  });
  vel::test::Seam::status_bar(window).panel(2)->property_label().signal_changed().connect([&] {
    if (!done_us && vel::test::Seam::status_bar(window).panel_text(2) == "Done")
      done_us = g_get_monotonic_time();
  });
  for (const auto& [name, address] : pages)
    for (int run = 0; run < runs; ++run) {
      vel::test::Seam::status_bar(window).set_panel_text(2, "");
      finished_us = done_us = 0;
      // A query of its own per run, so no run is served from a cache.
      // Opened as a choice from the address list is: with the progress monitor on.
      window.present_and_open(address + "?run=" + std::to_string(run));
      if (vel::test::run_until([&] { return done_us != 0; }, kRunTimeout) && finished_us)
        std::printf("done_delay_ms %s %.2f\n", name.c_str(),
                    static_cast<double>(done_us - finished_us) / 1000.0);
      else
        std::printf("done_delay_ms %s n/a\n", name.c_str());
      std::fflush(stdout);
      // A pause between runs, so one load's aftermath does not fall into the next.
      vel::test::run_until([] { return false; }, kPause);
    }
  window.hide();
}

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
  app->signal_activate().connect([&] { run(app, runs, pages); });
  char* program[] = {argv[0], nullptr};
  return app->run(1, program);
}
