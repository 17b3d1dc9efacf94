// SPDX-License-Identifier: GPL-3.0-or-later
// Working offline with the real web engine: the request log of a server on 127.0.0.1 shows that
// nothing leaves while offline, and that everything loads again once back online.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "browser/browser_window.h"
#include "support/engine_window.h"
#include "support/ui_support.h"
#include "support/window_helpers.h"

using namespace vel;

namespace {

// Every kind of thing a page fetches: style sheet, script, image, iframe, fetch, XHR, websocket.
const char* const kSubresources[] = {"/style.css", "/script.js", "/image.png", "/frame.html",
                                     "/fetch.txt", "/xhr.txt",   "/ws"};

// The page renames itself "Settled" once every request it made has succeeded or failed (the load
// event waits for the style sheet, the script, the image and the iframe), so a test knows when
// nothing more can arrive. A websocket the engine blocks never closes: offline, the page stops at
// "Waiting for ws", its request long since sent if it were to be sent at all. Its addresses are
// the server's wherever the page itself comes from.
std::string page_with_everything(int port) {
  const std::string host = "127.0.0.1:" + std::to_string(port);
  return "<!DOCTYPE html><html><head><meta charset='utf-8'><title>Everything</title>"
         "<base href='http://" +
         host +
         "/'><link rel='stylesheet' href='style.css'>"
         "<script src='script.js'></script></head><body><img src='image.png'>"
         "<iframe src='frame.html'></iframe><script>"
         "var waiting = {load: 1, fetch: 1, xhr: 1, ws: 1};"
         "function done(what) {"
         "  delete waiting[what];"
         "  var left = Object.keys(waiting);"
         "  document.title = left.length ? 'Waiting for ' + left : 'Settled';"
         "}"
         // First, so that its request (if any) is on its way before the others end.
         "try { new WebSocket('ws://" +
         host +
         "/ws').onclose = function() { done('ws'); }; }"
         "catch (e) { done('ws'); }"
         "window.addEventListener('load', function() { done('load'); });"
         "fetch('fetch.txt').then(function() { done('fetch'); }, function() { done('fetch'); });"
         "var x = new XMLHttpRequest();"
         "x.onloadend = function() { done('xhr'); };"
         "x.open('GET', 'xhr.txt');"
         "x.send();"
         "</script></body></html>";
}

struct OfflineFixture : test::EngineWindow {
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

  void click(test::Role role) { test::click_control(input, *window, role); }

  // Opens an address and waits for the load to end and the page's title to be known.
  std::string open(const std::string& address) {
    load([&] { EXPECT_TRUE(engine().navigate(address)); });
    return title();
  }

  // Waits until the page with everything has seen each of its requests end.
  void settle(bool offline) {
    EXPECT_TRUE(test::run_until([&] {
      return title() == "Settled" || (offline && title() == "Waiting for ws");
    })) << title();
  }

  test::TestServer server;
  test::XInput input;
  const std::string local_page = std::filesystem::temp_directory_path() /
                                 ("vel-offline-" + std::to_string(getpid()) + ".html");
};

}  // namespace

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
      EXPECT_TRUE(test::run_until([&] { return server.requests(path) > before[path]; }))
          << address << path;
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
  ASSERT_TRUE(test::run_until([&] { return server.requests("/poll.txt") >= 2; }));
  click(test::Role::OfflineSpot);
  // Once fetches fail, no request is on its way any more; none arrives after that.
  auto failures = [&] {
    return title().rfind("failed ", 0) == 0 ? std::stoi(title().substr(7)) : 0;
  };
  ASSERT_TRUE(test::run_until([&] { return failures() >= 2; }));
  const int polled = server.requests("/poll.txt");
  const int seen = failures();
  ASSERT_TRUE(test::run_until([&] { return failures() >= seen + 5; }));
  EXPECT_EQ(server.requests("/poll.txt"), polled);

  // Refresh while offline keeps the page from the network too.
  const int page_requests = server.requests("/polling.html");
  window->activate_action("win.reload");
  EXPECT_TRUE(test::run_until([&] { return title() == "Working offline"; })) << title();
  EXPECT_EQ(url(), server.uri("/polling.html"));
  EXPECT_EQ(server.requests("/polling.html"), page_requests);

  // Online, Refresh loads the page itself, and it polls again.
  click(test::Role::OnlineSpot);
  window->activate_action("win.reload");
  EXPECT_TRUE(test::run_until([&] { return server.requests("/poll.txt") > polled; }));
  EXPECT_EQ(server.requests("/polling.html"), page_requests + 1);
}
