// Working offline with the real web engine: the request log of a server on 127.0.0.1 shows that
// nothing leaves while offline, and that everything loads again once back online.
#include <glib/gstdio.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "browser/browser_window.h"
#include "platform/webkit_engine.h"
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
// "Waiting for ws", its request long since sent if it were to be sent at all.
std::string page_with_everything(const std::string& origin, int port) {
  const std::string ws = "ws://127.0.0.1:" + std::to_string(port) + "/ws";
  return "<!DOCTYPE html><html><head><meta charset='utf-8'><title>Everything</title>"
         "<link rel='stylesheet' href='" +
         origin +
         "/style.css'>"
         "<script src='" +
         origin +
         "/script.js'></script></head><body>"
         "<img src='" +
         origin +
         "/image.png'>"
         "<iframe src='" +
         origin +
         "/frame.html'></iframe>"
         "<script>"
         "var waiting = {load: 1, fetch: 1, xhr: 1, ws: 1};"
         "function done(what) {"
         "  delete waiting[what];"
         "  var left = Object.keys(waiting);"
         "  document.title = left.length ? 'Waiting for ' + left : 'Settled';"
         "}"
         // First, so that its request (if any) is on its way before the others end.
         "try {"
         "  var w = new WebSocket('" +
         ws +
         "');"
         "  w.onclose = function() { done('ws'); };"
         "} catch (e) { done('ws'); }"
         "window.addEventListener('load', function() { done('load'); });"
         "fetch('" +
         origin +
         "/fetch.txt')"
         "  .then(function() { done('fetch'); }, function() { done('fetch'); });"
         "var x = new XMLHttpRequest();"
         "x.onloadend = function() { done('xhr'); };"
         "x.open('GET', '" +
         origin +
         "/xhr.txt');"
         "x.send();"
         "</script></body></html>";
}

struct OfflineFixture : ::testing::Test {
  OfflineFixture() {
    server.add_page("/style.css", "body { color: black }", "text/css");
    server.add_page("/script.js", "var loaded = true;", "application/javascript");
    server.add_page("/image.png", "not really a picture", "image/png");
    server.add_page("/frame.html", test::titled_page("Frame"));
    server.add_page("/fetch.txt", "fetched", "text/plain");
    server.add_page("/xhr.txt", "requested", "text/plain");
    const std::string origin = "http://127.0.0.1:" + std::to_string(server.port());
    server.add_page("/page.html", page_with_everything(origin, server.port()));

    char* tmp = g_dir_make_tmp("vel-offline-XXXXXX", nullptr);
    dir = tmp;
    g_free(tmp);
    local_page = (dir / "local.html").string();
    std::ofstream(local_page) << page_with_everything(origin, server.port());

    window = std::make_unique<BrowserWindow>(make_webkit_engine());
    window->load();
    test::show_and_wait(*window);
    window->engine().signal_load_finished().connect([this] { ++completions; });
  }
  ~OfflineFixture() override {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  WebEngine& engine() { return window->engine(); }

  void click(test::Role role) { test::click_control(input, *window, role); }

  // Opens an address and waits for the load to end and the page's title to be known.
  std::string open(const std::string& address) {
    const int before = completions;
    EXPECT_TRUE(engine().navigate(address));
    EXPECT_TRUE(test::run_until([&] { return completions > before && !engine().busy(); }))
        << address;
    return engine().location_name();
  }

  // Waits until every kind of subresource has been asked for at least once.
  bool all_subresources_requested() {
    return test::run_until([&] {
      for (const char* path : kSubresources)
        if (server.requests(path) == 0) return false;
      return true;
    });
  }

  // Waits until the page with everything has seen each of its requests end.
  void settle(bool offline) {
    EXPECT_TRUE(test::run_until([&] {
      const auto title = engine().location_name();
      return title == "Settled" || (offline && title == "Waiting for ws");
    })) << engine().location_name();
  }

  test::TestServer server;
  test::XInput input;
  std::filesystem::path dir;
  std::string local_page;
  std::unique_ptr<BrowserWindow> window;
  int completions = 0;
};

}  // namespace

TEST_F(OfflineFixture, NothingLeavesWhileOfflineAndEverythingLoadsOnlineAgain) {
  click(test::Role::OfflineSpot);
  // A web page: not requested, the offline page stands in under the page's own address.
  EXPECT_EQ(open(server.uri("/page.html")), "Working offline");
  EXPECT_EQ(engine().location_url(), server.uri("/page.html"));
  // A local file opens, but nothing it refers to on the web is fetched.
  open(local_page);
  settle(true);
  EXPECT_EQ(server.total_requests(), 0);
  // The built-in pages open too.
  EXPECT_EQ(open("vel:start"), "Vel Browser");

  // Work offline twice stays offline.
  click(test::Role::OfflineSpot);
  open(local_page);
  settle(true);
  EXPECT_EQ(server.total_requests(), 0);

  // Online again: the web page and everything it refers to are fetched.
  click(test::Role::OnlineSpot);
  open(server.uri("/page.html"));
  settle(false);
  EXPECT_TRUE(all_subresources_requested());
  EXPECT_EQ(server.requests("/page.html"), 1);

  // And so is everything a local file refers to.
  std::map<std::string, int> before;
  for (const char* path : kSubresources) before[path] = server.requests(path);
  open(local_page);
  settle(false);
  for (const char* path : kSubresources) EXPECT_GT(server.requests(path), before[path]) << path;
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
    const std::string title = engine().location_name();
    return title.rfind("failed ", 0) == 0 ? std::stoi(title.substr(7)) : 0;
  };
  ASSERT_TRUE(test::run_until([&] { return failures() >= 2; }));
  const int polled = server.requests("/poll.txt");
  const int seen = failures();
  ASSERT_TRUE(test::run_until([&] { return failures() >= seen + 5; }));
  EXPECT_EQ(server.requests("/poll.txt"), polled);

  // Refresh while offline keeps the page from the network too.
  const int page_requests = server.requests("/polling.html");
  window->activate_action("win.reload");
  EXPECT_TRUE(test::run_until([&] { return engine().location_name() == "Working offline"; }))
      << engine().location_name();
  EXPECT_EQ(engine().location_url(), server.uri("/polling.html"));
  EXPECT_EQ(server.requests("/polling.html"), page_requests);

  // Online, Refresh loads the page itself, and it polls again.
  click(test::Role::OnlineSpot);
  window->activate_action("win.reload");
  EXPECT_TRUE(test::run_until([&] { return server.requests("/poll.txt") > polled; }));
  EXPECT_EQ(server.requests("/polling.html"), page_requests + 1);
}
