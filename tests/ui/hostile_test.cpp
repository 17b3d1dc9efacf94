// Broken, hostile and unusual pages and input: page process crashes, certificate errors, pop-ups,
// permission requests, downloads and absurd addresses typed into the real address box.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollermotion.h>
#include <gtkmm/messagedialog.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "browser/browser_window.h"
#include "support/engine_window.h"
#include "support/ui_support.h"

using namespace vel;
namespace fs = std::filesystem;

namespace {

// Processes below this one whose name starts with `prefix`.
std::vector<pid_t> descendants_named(const std::string& prefix) {
  std::map<pid_t, pid_t> parent;
  std::map<pid_t, std::string> name;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string pid = entry.path().filename();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    const auto open = line.find('('), close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos) continue;
    const pid_t p = std::stoi(pid);
    name[p] = line.substr(open + 1, close - open - 1);
    std::istringstream rest(line.substr(close + 2));
    char state;
    pid_t ppid;
    rest >> state >> ppid;
    parent[p] = ppid;
  }
  std::vector<pid_t> found;
  for (const auto& [p, n] : name) {
    if (n.rfind(prefix, 0) != 0) continue;
    for (pid_t q = parent[p]; q > 1; q = parent[q])
      if (q == getpid()) {
        found.push_back(p);
        break;
      }
  }
  return found;
}

struct Hostile : test::EngineWindow {
  Hostile() {
    auto motion = Gtk::EventControllerMotion::create();
    motion->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    motion->signal_motion().connect([this](double x, double y) { last_motion = {x, y}; });
    window->add_controller(motion);
  }

  // Clicks in the page at a point of the web view.
  void click_page(int x, int y) {
    input.move(*window, x, 80 + y);
    input.click();
  }

  // True when the window handles a pointer move: it is not frozen.
  bool window_answers() {
    static int n = 0;
    const int x = 100 + (++n % 50);
    input.move(*window, x, 300);
    return test::run_until([&] { return last_motion.first == x; });
  }

  test::TestServer server;
  test::XInput input;
  std::pair<double, double> last_motion{-1, -1};
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
  EXPECT_TRUE(window_answers());
}

TEST_F(Hostile, SelfSignedCertificateFailsClosed) {
  test::TestServer tls(test::TestServer::Tls::SelfSigned);
  tls.add_page("/secret.html", test::titled_page("Secret"));
  for (int attempt = 0; attempt < 2; ++attempt) {  // nothing is remembered between attempts
    load([&] { engine().navigate(tls.uri("/secret.html")); });
    EXPECT_NE(title(), "Secret");
    EXPECT_EQ(tls.requests("/secret.html"), 0);
  }
  // A clear message is shown, not an empty view.
  EXPECT_EQ(title(), "This connection is not private");
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
  // No second window appeared.
  int windows = 0;
  for (auto* w : Gtk::Window::list_toplevels())
    if (w->get_visible()) ++windows;
  EXPECT_EQ(windows, 1);
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
  int windows = 0;
  for (auto* w : Gtk::Window::list_toplevels())
    if (w->get_visible()) ++windows;
  EXPECT_EQ(windows, 1);  // no prompt
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

  // The user is told the file's name.
  Gtk::MessageDialog* told = nullptr;
  ASSERT_TRUE(test::run_until([&] {
    for (auto* w : Gtk::Window::list_toplevels())
      if (auto* d = dynamic_cast<Gtk::MessageDialog*>(w); d && d->get_visible()) told = d;
    return told != nullptr;
  }));
  EXPECT_NE(std::string(told->property_text().get_value()).find("report (1).bin"),
            std::string::npos);
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
  EXPECT_TRUE(window_answers());
}

TEST_F(Hostile, AbsurdAddressesTypedIntoTheBoxKeepTheWindowAndTheList) {
  auto* entry = window->address_box().get_entry();
  server.add_page("/fine.html", test::titled_page("Fine"));
  const std::string good = server.uri("/fine.html");
  entry->set_text(good);
  g_signal_emit_by_name(entry->gobj(), "activate");
  ASSERT_TRUE(test::run_until([&] { return title() == "Fine"; }));
  const auto list_before = test::address_list(*window);

  const std::string huge(1 << 20, 'a');
  const std::vector<std::string> inputs = {huge,
                                           std::string("a\x01\x02\x7f") + "b",
                                           "nosuchscheme:x",
                                           "javascript:document.title='x'",
                                           "http://",
                                           "::::",
                                           "%00",
                                           "http://[::1"};
  for (const auto& text : inputs) {
    SCOPED_TRACE(text.substr(0, 40));
    // Put the text on the clipboard and paste it with the keyboard, as a user would.
    window->get_clipboard()->set_text(text);
    input.move(*window, 300, 42);
    input.click();
    ASSERT_TRUE(test::run_until(
        [&] { return window->get_focus() && window->get_focus()->is_ancestor(*entry); }));
    input.press_key("a", {"Control_L"});
    input.press_key("v", {"Control_L"});
    ASSERT_TRUE(test::run_until(
        [&] { return !entry->get_text().empty() && std::string(entry->get_text()) != good; }));
    input.press_key("Return");
    ASSERT_TRUE(window_answers());
    test::run_until([&] { return !engine().busy(); });
    EXPECT_NE(title(), "x");
  }
  // Refused addresses were not added; those the engine took are there; nothing was lost.
  const auto list_after = test::address_list(*window);
  ASSERT_GE(list_after.size(), list_before.size());
  EXPECT_TRUE(std::equal(list_before.begin(), list_before.end(), list_after.begin()));
  for (const auto& item : list_after) EXPECT_NE(item.size(), huge.size());
  // The page still loads.
  load([&] { engine().navigate(good); });
  EXPECT_EQ(title(), "Fine");
}
