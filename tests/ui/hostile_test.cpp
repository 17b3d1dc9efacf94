// SPDX-License-Identifier: GPL-3.0-or-later
// Broken and hostile pages: page process crashes, certificate errors, pop-ups, permission
// requests and downloads.
#include <gtest/gtest.h>
#include <gtkmm/messagedialog.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "browser/browser_window.h"
#include "processes.h"
#include "support/engine_window.h"
#include "support/ui_support.h"

using namespace vel;
namespace fs = std::filesystem;

namespace {

int visible_windows() {
  int windows = 0;
  for (auto* w : Gtk::Window::list_toplevels()) windows += w->get_visible();
  return windows;
}

struct Hostile : test::EngineWindow {
  // Clicks in the page at a point of the web view.
  void click_page(int x, int y) {
    input.move(*window, x, 80 + y);
    input.click();
  }

  test::TestServer server;
  test::XInput input;
};

}  // namespace

TEST_F(Hostile, KilledPageProcessShowsAMessageAndRefreshBringsThePageBack) {
  server.add_page("/victim.html", test::titled_page("Victim", "<p>still here</p>"));
  load([&] { engine().navigate(server.uri("/victim.html")); });
  input.move(*window, 300, 300);  // over the page, so that the keys go to this window
  input.focus(*window);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    int killed = 0;  // the page processes (the kernel keeps 15 characters of a name)
    for (const auto& [pid, p] : test::process_tree(getpid()))
      if (p.name == "WebKitWebProces") killed += kill(pid, SIGKILL) == 0;
    ASSERT_GT(killed, 0) << "no page process found";
    ASSERT_TRUE(test::run_until([&] { return title() == "This page has stopped"; }));
    EXPECT_EQ(engine().location_url(), server.uri("/victim.html"));
    // Refresh: by the button, then by the key.
    load([&] { round % 2 ? input.press_key("F5") : void(window->activate_action("win.reload")); });
    ASSERT_TRUE(test::run_until([&] { return title() == "Victim"; }));
  }
  EXPECT_EQ(server.requests("/victim.html"), 21);
}

TEST_F(Hostile, SelfSignedCertificateFailsClosed) {
  test::TestServer tls(test::TestServer::Tls::SelfSigned);
  tls.add_page("/secret.html", test::titled_page("Secret"));
  // Nothing is remembered between attempts, and every one ends on Vel's page: the engine tells a
  // refused certificate as such, or now and then as a handshake it gave up on.
  for (int attempt = 0; attempt < 6; ++attempt) {
    load([&] { engine().navigate(tls.uri("/secret.html")); });
    EXPECT_TRUE(title() == "This connection is not private" ||
                title() == "A secure connection could not be made")
        << title();
    EXPECT_EQ(url(), tls.uri("/secret.html"));
  }
  EXPECT_EQ(tls.requests("/secret.html"), 0);
}

TEST_F(Hostile, PopUpsOpenInTheSameViewAndPermissionsAreDeniedWithoutAPrompt) {
  server.add_page("/target.html", test::titled_page("Target"));
  server.add_page("/opened.html", test::titled_page("Opened"));
  const std::string cover =
      "style='display:block;position:fixed;left:0;top:0;width:100%;height:100%'";
  server.add_page(
      "/blank.html",
      test::titled_page("Links", "<a href='/target.html' target='_blank' " + cover + ">open</a>"));
  server.add_page("/script.html",
                  test::titled_page("Script", "<button onclick=\"window.open('/opened.html')\" " +
                                                  cover + ">open</button>"));
  load([&] { engine().navigate(server.uri("/blank.html")); });
  click_page(200, 150);
  ASSERT_TRUE(test::run_until([&] { return title() == "Target"; }));
  load([&] { engine().navigate(server.uri("/script.html")); });
  click_page(200, 150);
  ASSERT_TRUE(test::run_until([&] { return title() == "Opened"; }));

  // Permission requests are denied without a prompt.
  server.add_page("/ask.html", R"HTML(<!DOCTYPE html><html><head><title>asking</title><script>
    // Each request is granted or denied; a missing interface throws and counts as denied.
    const asked = (name, ask) => new Promise(ask).then(() => name + '=granted', () => name + '=denied');
    function ask() {
      Promise.all([
        asked('geo', (yes, no) => navigator.geolocation.getCurrentPosition(yes, no)),
        asked('notify', (yes, no) => Notification.requestPermission().then(p => p == 'granted' ? yes() : no())),
        asked('media', (yes, no) => navigator.mediaDevices.getUserMedia({video: true, audio: true}).then(yes, no)),
      ]).then(answers => document.title = answers.join(' '));
    }
    </script></head><body onclick="ask()" style="height:100vh;margin:0"></body></html>)HTML");
  load([&] { engine().navigate(server.uri("/ask.html")); });
  click_page(200, 150);  // a user gesture, as sites ask on one
  ASSERT_TRUE(test::run_until([&] { return title() != "asking"; }, std::chrono::seconds(30)));
  EXPECT_EQ(title(), "geo=denied notify=denied media=denied");
  EXPECT_EQ(visible_windows(), 1);  // no second window, no prompt
}

TEST_F(Hostile, DownloadsAreSavedWithoutOverwritingAndFailuresLeaveNothing) {
  const char* dir_text = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
  ASSERT_NE(dir_text, nullptr);
  const fs::path dir = dir_text;
  fs::create_directories(dir);
  { std::ofstream(dir / "report.bin") << "older file"; }

  server.add_page("/file", std::string(5000, 'a'), "application/octet-stream");
  server.add_header("/file", "Content-Disposition", "attachment; filename=\"../report.bin\"");
  server.add_page("/page.html", test::titled_page("Page"));
  load([&] { engine().navigate(server.uri("/page.html")); });
  engine().navigate(server.uri("/file"));

  // The user is told the file's name and folder, and is offered to open the folder.
  Gtk::MessageDialog* told = nullptr;
  ASSERT_TRUE(test::run_until([&] {
    for (auto* w : Gtk::Window::list_toplevels())
      if (auto* d = dynamic_cast<Gtk::MessageDialog*>(w); d && d->get_visible()) told = d;
    return told != nullptr;
  }));
  const std::string text = told->property_text().get_value();
  EXPECT_NE(text.find("“report (1).bin” in " + dir.string()), std::string::npos) << text;
  EXPECT_NE(told->get_widget_for_response(1), nullptr);
  told->response(Gtk::ResponseType::OK);
  std::string older;
  std::getline(std::ifstream(dir / "report.bin"), older);
  EXPECT_EQ(older, "older file");
  EXPECT_EQ(fs::file_size(dir / "report (1).bin"), 5000u);
  EXPECT_EQ(title(), "Page");  // the page stays

  // A download that breaks off leaves no partial file.
  const auto before = std::distance(fs::directory_iterator(dir), fs::directory_iterator());
  server.add_broken_download("/broken", 1000000, 4000);
  server.add_header("/broken", "Content-Disposition", "attachment; filename=\"broken.bin\"");
  engine().navigate(server.uri("/broken"));
  ASSERT_TRUE(test::run_until([&] { return server.requests("/broken") == 1; }));
  // Wait for the engine to give up on it: the partial file goes.
  ASSERT_TRUE(test::run_until([&] {
    test::drain_events();
    return !engine().busy() && !fs::exists(dir / "broken.bin") &&
           std::distance(fs::directory_iterator(dir), fs::directory_iterator()) == before;
  }));
  EXPECT_EQ(visible_windows(), 1);  // nothing announced
}
