// Broken and hostile pages: page process crashes, certificate errors, pop-ups, permission
// requests and downloads.
#include <gtest/gtest.h>
#include <gtkmm/messagedialog.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "browser/browser_window.h"
#include "support/engine_window.h"
#include "support/ui_support.h"

using namespace vel;
namespace fs = std::filesystem;

namespace {

// Processes below this one whose name starts with `prefix`.
std::vector<pid_t> descendants_named(const std::string& prefix) {
  std::map<pid_t, std::pair<pid_t, std::string>> procs;  // pid: parent, name
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) continue;
    const auto open = line.find('('), close = line.rfind(')');
    std::istringstream rest(line.substr(close + 2));
    char state;
    pid_t ppid;
    rest >> state >> ppid;
    procs[std::stoi(line)] = {ppid, line.substr(open + 1, close - open - 1)};
  }
  std::vector<pid_t> found;
  for (const auto& [pid, proc] : procs) {
    if (proc.second.rfind(prefix, 0) != 0) continue;
    for (pid_t q = proc.first; q > 1; q = procs[q].first)
      if (q == getpid()) {
        found.push_back(pid);
        break;
      }
  }
  return found;
}

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
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    const auto pages = descendants_named("WebKitWebProces");
    ASSERT_FALSE(pages.empty()) << "no page process found";
    for (pid_t pid : pages) kill(pid, SIGKILL);
    ASSERT_TRUE(test::run_until([&] { return title() == "This page has stopped"; }));
    EXPECT_EQ(engine().location_url(), server.uri("/victim.html"));
    // Refresh: by the button, then by the key.
    if (round % 2 == 0) {
      load([&] { window->activate_action("win.reload"); });
    } else {
      input.move(*window, 300, 300);
      input.focus(*window);
      load([&] { input.press_key("F5"); });
    }
    ASSERT_TRUE(test::run_until([&] { return title() == "Victim"; }));
  }
  EXPECT_EQ(server.requests("/victim.html"), 21);
}

TEST_F(Hostile, SelfSignedCertificateFailsClosed) {
  test::TestServer tls(test::TestServer::Tls::SelfSigned);
  tls.add_page("/secret.html", test::titled_page("Secret"));
  // Nothing is remembered between attempts. The engine mostly reports the refused certificate as
  // such, and the view says so; now and then it reports a cancelled load instead and shows its
  // own error page, so the message must come at least once, the page never.
  bool told = false;
  for (int attempt = 0; attempt < 6; ++attempt) {
    load([&] { engine().navigate(tls.uri("/secret.html")); });
    EXPECT_NE(title(), "Secret");
    told = told || title() == "This connection is not private";
  }
  EXPECT_EQ(tls.requests("/secret.html"), 0);
  EXPECT_TRUE(told);
}

TEST_F(Hostile, PopUpsOpenInTheSameView) {
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
  EXPECT_EQ(visible_windows(), 1);  // no second window
}

TEST_F(Hostile, PermissionRequestsAreDeniedWithoutAPrompt) {
  server.add_page("/ask.html", R"HTML(<!DOCTYPE html><html><head><title>asking</title><script>
    const results = {};
    function report(k, v) {
      results[k] = v;
      if (Object.keys(results).length == 3)
        document.title = ['geo', 'notify', 'media'].map(k => k + '=' + results[k]).join(' ');
    }
    function ask() {
      if (navigator.geolocation)
        navigator.geolocation.getCurrentPosition(() => report('geo', 'granted'),
                                                 () => report('geo', 'denied'));
      else report('geo', 'denied');
      if (window.Notification)
        Notification.requestPermission().then(p => report('notify', p == 'granted' ? 'granted' : 'denied'));
      else report('notify', 'denied');
      if (navigator.mediaDevices)
        navigator.mediaDevices.getUserMedia({video: true, audio: true})
          .then(() => report('media', 'granted'), () => report('media', 'denied'));
      else report('media', 'denied');
    }
    </script></head><body onclick="ask()" style="height:100vh;margin:0"></body></html>)HTML");
  load([&] { engine().navigate(server.uri("/ask.html")); });
  click_page(200, 150);  // a user gesture, as sites ask on one
  ASSERT_TRUE(test::run_until([&] { return title() != "asking"; }, std::chrono::seconds(30)));
  EXPECT_EQ(title(), "geo=denied notify=denied media=denied");
  EXPECT_EQ(visible_windows(), 1);  // no prompt
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
