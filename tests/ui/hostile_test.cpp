// SPDX-License-Identifier: GPL-3.0-or-later
// Broken and hostile pages (page process crashes, certificate errors, pop-ups, permission
// requests), and working offline, where the request log of a server on 127.0.0.1
// shows that nothing leaves while offline and that everything loads again once back online.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "support/engine_window.h"
#include "support/processes.h"
#include "support/ui_support.h"
#include "windows/browser/browser_window.h"

using namespace vel;
namespace fs = std::filesystem;

namespace {

using Hostile = test::EngineWindow;

// Every kind of thing a page fetches: style sheet, script, image, iframe, fetch, XHR, websocket.
const char* const kSubresources[] = {"/style.css", "/script.js", "/image.png", "/frame.html",
                                     "/fetch.txt", "/xhr.txt",   "/ws"};

// The page renames itself "Settled" once every request it made has succeeded or failed (the load
// event waits for the style sheet, the script, the image and the iframe), so a test knows when
// nothing more can arrive. A websocket the engine blocks never closes: offline, the page stops at
// "Waiting for ws", its request long since sent if it were to be sent at all. Its addresses are
// the server's wherever the page itself comes from.
std::string page_with_everything(int port) {
  std::string page = R"(<!DOCTYPE html><html><head><meta charset='utf-8'><title>Everything</title>
<base href='http://HOST/'><link rel='stylesheet' href='style.css'><script src='script.js'></script>
</head><body><img src='image.png'><iframe src='frame.html'></iframe><script>
var waiting = ['load', 'fetch', 'xhr', 'ws'];
function done(what) {
  waiting = waiting.filter(w => w != what);
  document.title = waiting.length ? 'Waiting for ' + waiting : 'Settled';
}
// First, so that its request (if any) is on its way before the others end.
try { new WebSocket('ws://HOST/ws').onclose = () => done('ws'); } catch (e) { done('ws'); }
window.addEventListener('load', () => done('load'));
fetch('fetch.txt').then(() => done('fetch'), () => done('fetch'));
var x = new XMLHttpRequest();
x.onloadend = () => done('xhr');
x.open('GET', 'xhr.txt');
x.send();
</script></body></html>)";
  for (auto at = page.find("HOST"); at != std::string::npos; at = page.find("HOST", at))
    page.replace(at, 4, "127.0.0.1:" + std::to_string(port));
  return page;
}

struct OfflineFixture : Hostile {
  OfflineFixture() {
    server.add_page("/style.css", "body { color: black }", "text/css");
    server.add_page("/script.js", "var loaded = true;", "application/javascript");
    server.add_page("/image.png", "not really a picture", "image/png");
    server.add_page("/frame.html", test::titled_page("Frame"));
    server.add_page("/fetch.txt", "fetched", "text/plain");
    server.add_page("/xhr.txt", "requested", "text/plain");
    server.add_page("/page.html", page_with_everything(server.port()));
    std::ofstream(local_page) << page_with_everything(server.port());
  }
  ~OfflineFixture() override { std::filesystem::remove(local_page); }

  // Opens an address and waits for the load to end and the page's title to be known.
  std::string open(const std::string& address) {
    load([&] { EXPECT_TRUE(engine().navigate(address)); });
    return title();
  }

  // Waits until the page with everything has seen each of its requests end.
  void settle(bool offline) {
    EXPECT_SOON(title() == "Settled" || (offline && title() == "Waiting for ws")) << title();
  }

  const std::string local_page = std::filesystem::temp_directory_path() /
                                 ("vel-offline-" + std::to_string(getpid()) + ".html");
};

}  // namespace

TEST_F(Hostile, KilledPageProcessShowsAMessageAndRefreshBringsThePageBack) {
  server.add_page("/victim.html", test::titled_page("Victim", "<p>still here</p>"));
  load([&] { engine().navigate(server.uri("/victim.html")); });
  point_at_page(300, 220);  // over the page, so that the keys go to this window
  input.focus(*window);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    int killed = 0;  // the page processes (the kernel keeps 15 characters of a name)
    for (const auto& [pid, p] : test::process_tree(getpid()))
      if (p.name == "WebKitWebProces") killed += kill(pid, SIGKILL) == 0;
    ASSERT_GT(killed, 0) << "no page process found";
    ASSERT_SOON(title() == "This page has stopped");
    EXPECT_EQ(engine().uri(), server.uri("/victim.html"));
    // Refresh: by the button, then by the key.
    load([&] { round % 2 ? input.press_key("F5") : void(window->activate_action("win.reload")); });
    ASSERT_SOON(title() == "Victim");
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
  ASSERT_SOON(title() == "Target");
  load([&] { engine().navigate(server.uri("/script.html")); });
  click_page(200, 150);
  ASSERT_SOON(title() == "Opened");

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
  EXPECT_EQ(test::visible_windows(), 1);  // no second window, no prompt
}

// --- Working offline ------------------------------------------------------------------------

TEST_F(OfflineFixture, NothingLeavesWhileOfflineAndEverythingLoadsOnlineAgain) {
  click(test::Role::OfflineSpot);
  // A web page: not requested, the offline page stands in under the page's own address.
  EXPECT_EQ(open(server.uri("/page.html")), "Working offline");
  EXPECT_EQ(url(), server.uri("/page.html"));
  // A local file opens, but nothing it refers to on the web is fetched.
  open(local_page);
  settle(true);
  // The built-in pages open too.
  EXPECT_EQ(open("vel:start"), "Vel Browser");
  // Work offline twice stays offline.
  click(test::Role::OfflineSpot);
  open(local_page);
  settle(true);
  EXPECT_EQ(server.total_requests(), 0);

  // Online again: the web page and everything it and a local file refer to are fetched.
  click(test::Role::OnlineSpot);
  for (const std::string& address : {server.uri("/page.html"), local_page}) {
    std::map<std::string, int> before;
    for (const char* path : kSubresources) before[path] = server.requests(path);
    open(address);
    settle(false);
    for (const char* path : kSubresources)
      EXPECT_SOON(server.requests(path) > before[path]) << address << path;
  }
  EXPECT_EQ(server.requests("/page.html"), 1);
}

TEST_F(OfflineFixture, SwitchingOfflineStopsWhatThePageFetchesLater) {
  // A page that asks for something every 50 ms and names itself after the failures it saw.
  server.add_page("/poll.txt", "poll", "text/plain");
  server.add_page("/polling.html",
                  test::titled_page("Polling",
                                    "<script>var failed = 0;"
                                    "setInterval(function() { fetch('/poll.txt')"
                                    ".catch(function() { document.title = 'failed ' + "
                                    "++failed; }); }, 50);</script>"));
  EXPECT_EQ(open(server.uri("/polling.html")), "Polling");
  ASSERT_SOON(server.requests("/poll.txt") >= 2);
  click(test::Role::OfflineSpot);
  // Once fetches fail, no request is on its way any more; none arrives after that.
  auto failures = [&] {
    return title().rfind("failed ", 0) == 0 ? std::stoi(title().substr(7)) : 0;
  };
  ASSERT_SOON(failures() >= 2);
  const int polled = server.requests("/poll.txt");
  const int seen = failures();
  ASSERT_SOON(failures() >= seen + 5);
  EXPECT_EQ(server.requests("/poll.txt"), polled);

  // Refresh while offline keeps the page from the network too.
  const int page_requests = server.requests("/polling.html");
  window->activate_action("win.reload");
  EXPECT_SOON(title() == "Working offline") << title();
  EXPECT_EQ(url(), server.uri("/polling.html"));
  EXPECT_EQ(server.requests("/polling.html"), page_requests);
}
