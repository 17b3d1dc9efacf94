// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtkmm/application.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/web_engine.h"
#include "windows/about/about_growth.h"

namespace vel {

namespace test {
struct Seam;
}
class BrowserWindow;
class AboutWindow;
class ClockWindow;

// The application owns at most one of each window and hands it out: showing a window that does
// not exist creates it; a window closed by the user is dropped. It provides the commands that
// reach beyond one window: "app.clock", "app.about" and "app.quit".
class Application : public Gtk::Application {
 public:
  using EngineFactory = std::function<std::unique_ptr<WebEngine>()>;

  // A private run keeps nothing of what sites store (its engines keep it in memory only), and its
  // browser window says so.
  static Glib::RefPtr<Application> create(std::string starting_address = {},
                                          EngineFactory engines = {}, bool private_run = false);
  ~Application() override;

  // The browser window, created and loaded when there is none.
  BrowserWindow& show_browser_window();

  // The clock window, created when there is none, shown modeless.
  ClockWindow& show_clock_window();

  // Ends the program at once: every window closes.
  void quit_program();

 protected:
  Application(std::string starting_address, EngineFactory engines, bool private_run);
  void on_activate() override;
  void on_startup() override;

 private:
  // The tests and the benchmarks see which windows there are through test::Seam
  // (tests/support/seam.h).
  friend struct test::Seam;

  template <class Window>
  void drop_when_closed(std::unique_ptr<Window>& slot);
  // The About window, created hidden when there is none.
  AboutWindow& make_about_window();

  std::string starting_address_;
  bool private_run_;
  EngineFactory engines_;
  // The first window's engine, already opening the starting address while GTK builds that window.
  std::unique_ptr<WebEngine> first_engine_;
  AboutGrowth about_growth_{[this]() -> AboutWindow& { return make_about_window(); }};
  std::unique_ptr<BrowserWindow> browser_window_;
  std::unique_ptr<ClockWindow> clock_window_;
  std::unique_ptr<AboutWindow> about_window_;
  // The watches for the signals that end the program; removed with it, should none have come.
  std::vector<unsigned> signal_watches_;
};

}  // namespace vel
