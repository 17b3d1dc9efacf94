// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar against a stand-in engine, with real pointer and keyboard events: the progress
// monitor, the buttons with their hints, the keys, and the command hot-spots (the text editor's
// start and the file-open dialog).
#include <giomm/appinfo.h>
#include <glibmm/fileutils.h>
#include <gtest/gtest.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollermotion.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/fake_engine.h"
#include "support/ui_support.h"
#include "support/x_windows.h"
#include "toolkit/graphics.h"
#include "windows/browser/browser_window.h"

using namespace vel;
using test::Role;
namespace fs = std::filesystem;

namespace {

// A desktop of our own, set up before GTK reads its directories: the only application for plain
// text is a stand-in that writes one line per start (the number of arguments it got, and whether
// it inherited the browser's own graphics setting: it must not) to a marker
// file. The system's data directories stay visible, except their applications.
struct StandInDesktop {
  fs::path root, marker, desktop_file, mimeapps;

  StandInDesktop() {
    char tmpl[] = "/tmp/vel-commands-XXXXXX";
    root = mkdtemp(tmpl);
    marker = root / "editor-starts";
    const fs::path script = root / "editor.sh";
    std::ofstream(script) << "#!/bin/sh\necho $# ${" << kGtkWithoutGl.variable << "-unset} >> '"
                          << marker.string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);
    fs::create_directories(root / "data/applications");
    fs::create_directories(root / "config");
    desktop_file = root / "data/applications/vel-stand-in-editor.desktop";
    std::ofstream(desktop_file) << "[Desktop Entry]\nType=Application\nName=Stand-in editor\nExec="
                                << script.string() << " %F\nMimeType=text/plain;\n";
    mimeapps = root / "config/mimeapps.list";
    std::ofstream(mimeapps) << "[Default Applications]\ntext/plain=vel-stand-in-editor.desktop\n";

    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::stringstream list(dirs && *dirs ? dirs : "/usr/local/share:/usr/share");
    std::string system_dirs, dir;
    for (int n = 0; std::getline(list, dir, ':'); ++n) {
      if (!fs::is_directory(dir)) continue;
      const fs::path mirror = root / ("system" + std::to_string(n));
      fs::create_directories(mirror);
      for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename() != "applications")
          fs::create_directory_symlink(entry.path(), mirror / entry.path().filename());
      system_dirs += (system_dirs.empty() ? "" : ":") + mirror.string();
    }
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_DATA_DIRS", system_dirs.c_str(), 1);
  }
  ~StandInDesktop() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }

  std::string starts() const { return fs::exists(marker) ? Glib::file_get_contents(marker) : ""; }
};

const StandInDesktop desktop;  // before main(), so before GTK starts

struct Toolbar : ::testing::Test {
  Toolbar() {
    window = test::window_with_fake_engine(engine);
    // Leave room above the window, so the pointer can leave across its top edge.
    input.move_window(*window, 50, 60);
    // Every move the window sees, to know when one has been handled.
    auto motion = Gtk::EventControllerMotion::create();
    motion->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    motion->signal_motion().connect([this](double x, double y) { last = {x, y}; });
    window->add_controller(motion);
  }

  std::string hint() { return test::Seam::status_bar(*window).panel_text(1); }

  // Moves the pointer to a point of the client area given in twips, and waits until the window
  // has handled the move.
  void point_at(int x_twips, int y_twips) {
    const int x = x_twips / kTwipsPerPixel, y = y_twips / kTwipsPerPixel;
    input.move(*window, x, y);
    ASSERT_SOON(last == std::make_pair(double(x), double(y))) << "no motion at " << x << "," << y;
  }

  // A click there, handled once the engine is asked for something: X delivers events in order, so
  // a click that asks for nothing is checked by the next one.
  void click_at(int x_twips, int y_twips, bool asks = true) {
    point_at(x_twips, y_twips);
    const auto before = engine->calls.size();
    input.click();
    ASSERT_TRUE(!asks || test::run_until([&] { return engine->calls.size() > before; }));
  }

  void click(test::Role role) { test::click_control(input, *window, role); }

  // Answers the file-open dialog with the keyboard, as a user does: Ctrl+L for a location, the
  // path and Enter, or Escape to cancel. Then the window has the keyboard again for the next key.
  void answer_file_dialog(const std::string& path = "") {
    Gtk::Window* chooser = nullptr;
    ASSERT_SOON((chooser = Glib::wrap(test::shown_window("GtkFileChooserDialog"))));
    EXPECT_TRUE(chooser->get_modal());
    EXPECT_EQ(chooser->get_transient_for(), window.get());
    input.focus(*chooser);
    if (path.empty()) {
      input.press_key("Escape");
    } else {
      input.press_key("l", {"Control_L"});
      input.type(path + "\n");
    }
    ASSERT_SOON(!test::Seam::file_dialog(*window).is_shown());
    ASSERT_SOON(!test::shown_window("GtkFileChooserDialog"));
    input.focus(*window);
  }

  std::string last_call() { return engine->calls.empty() ? "" : engine->calls.back(); }

  test::FakeEngine* engine;
  std::unique_ptr<BrowserWindow> window;
  test::XInput input;
  std::pair<double, double> last{-1, -1};
};

}  // namespace

TEST_F(Toolbar, MonitorShowsOpeningUntilIdleThenDoneAndTheTitle) {
  engine->loading_value = true;
  engine->page_title = "";  // a page without a title: the caption is the suffix alone
  test::enter_address(*window, "http://fake.test/a");
  test::Seam::address_box(*window).set_active(0);  // a choice from the list starts the monitor
  ASSERT_SOON(test::Seam::status_bar(*window).panel_text(2) == "Opening...");
  EXPECT_EQ(window->get_title(), "Vel");
  window->set_title("something else");  // every look while loading writes the texts again
  ASSERT_SOON(window->get_title() == "Vel");
  // The moment the engine settles the monitor looks again, without waiting for its period.
  engine->loading_value = false;
  engine->settle();
  test::drain_events();
  EXPECT_EQ(test::Seam::status_bar(*window).panel_text(2), "Done");
  EXPECT_EQ(window->get_title(), " - Vel ");
  test::Seam::status_bar(*window).set_panel_text(2, "");
  engine->settle();  // the monitor is off: nothing changes
  test::drain_events();
  EXPECT_EQ(test::Seam::status_bar(*window).panel_text(2), "");
}

TEST_F(Toolbar, HintsFollowThePointerAndClicksRunTheUppermostButtonsCommand) {
  // The strips, the command hot-spots and the address box write no hint; the gap between
  // Forward and Stop and the banner right of the buttons blank it.
  const std::tuple<int, int, const char*> path[] = {
      {600, 150, "  Back"},    {1500, 150, "  Forward"}, {2700, 150, "  "},
      {3000, 150, "  Stop"},   {4800, 150, "  Refresh"}, {6000, 150, "  Home"},
      {7500, 150, "  Search"}, {6000, 900, "  Search"},  {9000, 150, "  "},
      {1500, 150, "  Forward"}};
  for (auto [x, y, text] : path) {
    point_at(x, y);
    EXPECT_EQ(hint(), text) << x << "," << y;
  }
  // Out across the top edge and back onto the address box: the hint stays.
  input.move(*window, 100, -20);
  input.move(*window, 300, -20);
  point_at(4800, 700);
  EXPECT_EQ(hint(), "  Forward");
  EXPECT_TRUE(engine->calls.empty());

  // Where two buttons overlap, the one on top takes the click; the gap and the banner do nothing.
  const std::pair<int, const char*> clicks[] = {
      {1325, "forward"}, {4085, "reload"}, {5525, "home"}, {6965, "search"}, {3000, "stop"}};
  for (auto [x, call] : clicks) {
    click_at(x, 150);
    EXPECT_EQ(last_call(), call) << x;
  }
  click_at(2700, 150, false);
  click_at(9000, 150, false);
  click_at(3000, 150);
  EXPECT_EQ(engine->calls.size(), 6u);
  EXPECT_FALSE(test::Seam::load_monitor(*window).enabled());  // none of them starts the monitor
}

TEST_F(Toolbar, BackWritesItsHintAndTheFreeStripsRunWithoutOne) {
  test::Seam::status_bar(*window).set_panel_text(1, "stale");
  click_at(600, 150);  // the Back picture writes "  Back" itself
  EXPECT_EQ(last_call(), "back");
  EXPECT_EQ(hint(), "  Back");
  point_at(3000, 150);  // hovering writes "  Stop"
  click_at(3000, 450);  // the Stop strip: Stop, and the hint stands
  EXPECT_EQ(last_call(), "stop");
  EXPECT_EQ(hint(), "  Stop");
  click_at(600, 900);  // the Back strip below the address box: Back without a hint
  EXPECT_EQ(last_call(), "back");
  EXPECT_EQ(hint(), "  Stop");

  // Back with no history fails quietly.
  engine->history_back = false;
  click_at(600, 150);
  EXPECT_EQ(hint(), "  Back");
  EXPECT_EQ(engine->calls.size(), 4u);
}

TEST_F(Toolbar, KeysRunTheButtonsHandlers) {
  point_at(3000, 3000);  // over the page, so the keys go to this window
  input.focus(*window);
  const std::tuple<const char*, std::vector<const char*>, const char*> keys[] = {
      {"Left", {"Alt_L"}, "back"}, {"Right", {"Alt_L"}, "forward"}, {"Escape", {}, "stop"},
      {"F5", {}, "reload"},        {"r", {"Control_L"}, "reload"},  {"Home", {"Alt_L"}, "home"},
  };
  for (const auto& [key, mods, call] : keys) {
    const auto before = engine->calls.size();
    input.press_key(key, mods);
    ASSERT_SOON(engine->calls.size() > before) << key;
    EXPECT_EQ(last_call(), call) << key;
  }
  input.press_key("l", {"Control_L"});
  auto* entry = test::Seam::address_box(*window).get_entry();
  ASSERT_SOON(window->get_focus() && window->get_focus()->is_ancestor(*entry));
  int start = 0, end = 0;
  EXPECT_TRUE(entry->get_selection_bounds(start, end));
  EXPECT_EQ(end - start, static_cast<int>(entry->get_text().size()));
  // Escape in the box puts the shown page's address back instead of stopping.
  input.type("typed");
  ASSERT_SOON(entry->get_text() == "typed");
  const auto calls = engine->calls.size();
  input.press_key("Escape");
  ASSERT_SOON(std::string(entry->get_text()) == engine->page_uri);
  EXPECT_EQ(engine->calls.size(), calls);
  EXPECT_FALSE(test::Seam::load_monitor(*window).enabled());
}

TEST_F(Toolbar, NewDocumentStartsOneEditorPerClickOrSaysWhyNot) {
  // Save and Edit do nothing at all.
  click(Role::SaveSpot);
  click(Role::EditDocumentSpot);
  // Each click on New starts one more editor, on no file, without waiting for it.
  click(Role::NewDocumentSpot);
  ASSERT_SOON(desktop.starts() == "0 unset\n");
  click(Role::NewDocumentSpot);
  ASSERT_SOON(desktop.starts() == "0 unset\n0 unset\n");
  EXPECT_EQ(test::Seam::message(*window), nullptr);

  // Without any application for plain text, a message says so; nothing else changes.
  fs::remove(desktop.desktop_file);
  fs::remove(desktop.mimeapps);
  ASSERT_TRUE(test::run_until([] { return !Gio::AppInfo::get_default_for_type("text/plain"); }));
  click(Role::NewDocumentSpot);
  ASSERT_SOON(test::Seam::message(*window) && test::Seam::message(*window)->get_mapped());
  EXPECT_EQ(test::Seam::message(*window)->property_text().get_value(),
            "No text editor could be started.");
  EXPECT_TRUE(test::Seam::message(*window)->get_modal());
  EXPECT_EQ(test::Seam::message(*window)->get_transient_for(), window.get());
  // It shows the program's icon, as every window of the program does.
  EXPECT_GE(test::icon_numbers(test::x_window(*test::Seam::message(*window))), 2u + 16 * 16);
  EXPECT_EQ(desktop.starts(), "0 unset\n0 unset\n");
  // OK closes it.
  input.focus(*test::Seam::message(*window));
  input.press_key("Return");
  EXPECT_SOON(test::Seam::message(*window) == nullptr);
  EXPECT_TRUE(engine->calls.empty());
}

TEST_F(Toolbar, OpenShowsTheDialogEveryTimeAndNavigatesToTheChosenFile) {
  const fs::path folder = desktop.root / "pages";
  fs::create_directories(folder);
  const fs::path file = folder / "chosen page.html";
  std::ofstream(file) << "<title>Chosen</title>";
  const std::string opened = "navigate:" + file.string();

  // A chosen file is opened by its full path. Cancelled, the page stays, and the dialog comes
  // back at the next Open; the hot-spot and Ctrl+O open the same dialog.
  click(Role::OpenSpot);
  answer_file_dialog(file.string());
  EXPECT_EQ(engine->calls, (std::vector<std::string>{opened}));
  click(Role::OpenSpot);
  answer_file_dialog();
  EXPECT_EQ(engine->calls.size(), 1u);
  input.press_key("o", {"Control_L"});
  answer_file_dialog(file.string());
  EXPECT_EQ(engine->calls, (std::vector<std::string>{opened, opened}));
}
