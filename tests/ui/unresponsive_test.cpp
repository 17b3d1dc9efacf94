// SPDX-License-Identifier: GPL-3.0-or-later
// A page whose script never returns cannot trap the user: every command goes through (the stuck
// page's process is ended and the command given again), a page that stays stuck is shown as not
// responding with Wait and Stop, and a page that answers is never ended.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <map>

#include "support/engine_window.h"
#include "support/processes.h"

using namespace vel;

namespace {

// A script that never returns, a moment after the page is in (its title is known by then).
constexpr const char* kLoop = "<script>setTimeout(() => { for (;;) {} }, 100);</script>";

bool alive(int pid) {
  return test::process_tree(getpid()).count(pid) != 0;
}

// The notice comes 300 ms after the engine finds the page unresponsive, in place of 7 s.
std::unique_ptr<WebEngine> engine_with_short_notice() {
  EngineSettings settings;
  settings.watchdog.notice_ms = 300;
  return make_webkit_engine(settings);
}

struct Unresponsive : test::EngineWindow {
  Unresponsive() : EngineWindow(engine_with_short_notice()) {
    server.add_page("/hang.html", test::titled_page("Hung", kLoop));
    server.add_page("/a.html", test::titled_page("A"));
    server.add_page("/b.html", test::titled_page("B"));
  }

  bool shows(const std::string& expected) { return title() == expected && !engine().is_loading(); }
  void open(const std::string& path) {
    load([&] { engine().navigate(server.uri(path)); });
  }
  // Waits until a page's process spins in its script; that process. It is busy at every look for
  // a second: a process that is starting (the engine keeps one ready) is busy for a moment only.
  int spinning_process() {
    const auto hz = static_cast<unsigned long long>(sysconf(_SC_CLK_TCK));
    std::map<int, int> busy;  // the looks in a row that found each page process busy
    int stuck = 0;
    test::run_until([&] {
      const auto before = test::process_tree(getpid());
      test::run_until([] { return false; }, std::chrono::milliseconds(250));
      std::map<int, int> still;
      for (const auto& [pid, p] : test::process_tree(getpid()))
        if (p.name == "WebKitWebProces" && before.count(pid) &&
            p.ticks - before.at(pid).ticks >= hz / 20)
          if ((still[pid] = busy[pid] + 1) >= 4) stuck = pid;
      busy = still;
      return stuck != 0;
    });
    EXPECT_NE(stuck, 0) << "no page process spins";
    return stuck;
  }
  int open_stuck_page() {
    open("/hang.html");
    return spinning_process();
  }
  void expect_ended(int pid) { EXPECT_SOON(!alive(pid)) << "the stuck process lives on"; }
};

}  // namespace

TEST_F(Unresponsive, ANewAddressLoadsOnce) {
  const int stuck = open_stuck_page();
  test::enter_address(*window, server.uri("/a.html"));
  EXPECT_SOON(shows("A")) << title();
  EXPECT_EQ(server.requests("/a.html"), 1);
  expect_ended(stuck);
}

TEST_F(Unresponsive, BackAndForwardGo) {
  open("/a.html");
  int stuck = open_stuck_page();
  window->activate_action("win.back");
  EXPECT_SOON(shows("A")) << title();
  expect_ended(stuck);

  open("/b.html");
  load([&] { window->activate_action("win.back"); });
  server.add_page("/a.html", test::titled_page("A", kLoop));  // stuck when shown again
  load([&] { window->activate_action("win.reload"); });
  const int again = spinning_process();
  window->activate_action("win.forward");
  EXPECT_SOON(shows("B")) << title();
  EXPECT_EQ(engine().uri(), server.uri("/b.html"));
  expect_ended(again);
}

TEST_F(Unresponsive, RefreshLoadsThePageAgain) {
  const int stuck = open_stuck_page();
  window->activate_action("win.reload");
  EXPECT_SOON(server.requests("/hang.html") == 2);
  expect_ended(stuck);
}

// A page's process ends with its window: kept for the next page of its site, it could hold it up.
TEST_F(Unresponsive, ClosingTheWindowEndsThePagesProcess) {
  server.add_page("/bursts.html", test::titled_page("Bursts", R"(<script>setInterval(() => {
    const end = Date.now() + 150; while (Date.now() < end) {} }, 200);</script>)"));
  open("/bursts.html");
  const int busy = spinning_process();
  window.reset();
  expect_ended(busy);
}

TEST_F(Unresponsive, StopEndsThePageWithTheCrashedMessageAndRefreshLoadsIt) {
  const int stuck = open_stuck_page();
  window->activate_action("win.stop");
  EXPECT_SOON(shows("This page has stopped")) << title();
  EXPECT_EQ(engine().uri(), server.uri("/hang.html"));
  expect_ended(stuck);
  load([&] { window->activate_action("win.reload"); });
  EXPECT_EQ(server.requests("/hang.html"), 2);
}

TEST_F(Unresponsive, NoticeNamesThePageWaitHidesItStopEndsIt) {
  PageNotice& notice = test::Seam::page_notice(*window);
  const int stuck = open_stuck_page();
  EXPECT_FALSE(notice.get_visible());
  click_page();  // a click and a key into the page, which it does not answer
  input.press_key("Down");
  ASSERT_TRUE(test::run_until([&] { return notice.get_visible(); }, std::chrono::seconds(30)));
  EXPECT_EQ(notice.heading().get_text(), "This page is not responding");
  EXPECT_NE(notice.address().get_text().find(server.uri("/hang.html")), std::string::npos);
  EXPECT_TRUE(notice.wait_button().has_focus());
  EXPECT_TRUE(test::unnamed_for_readers(notice).empty());

  bool hidden = false;
  notice.signal_wait().connect([&] { hidden = !notice.get_visible(); });
  ASSERT_SOON(notice.wait_button().get_width() > 0);
  input.click(*window, notice.wait_button());
  ASSERT_SOON(hidden);
  EXPECT_TRUE(alive(stuck));
  // Still stuck: told again.
  ASSERT_TRUE(test::run_until([&] { return notice.get_visible(); }, std::chrono::seconds(30)));

  input.click(*window, notice.stop_button());
  ASSERT_SOON(title() == "This page has stopped");
  EXPECT_FALSE(notice.get_visible());
  expect_ended(stuck);
}

// A page slow on the network, or one that answers, is not stuck: nothing is ended or loaded
// twice. The page's own timer, well after the watchdog's deadline, shows that it lives on.
TEST_F(Unresponsive, APageThatAnswersIsNeverEnded) {
  server.add_page("/slow.html", test::titled_page("Slow"), "text/html", 3000);
  server.add_page("/tick.html", test::titled_page("Tick", R"(<script>
    setTimeout(() => { document.title = 'Tock'; }, 2000);</script>)"));
  open("/slow.html");
  EXPECT_EQ(title(), "Slow");
  EXPECT_EQ(server.requests("/slow.html"), 1);
  open("/tick.html");
  window->activate_action("win.stop");
  EXPECT_SOON(title() == "Tock") << title();
  EXPECT_EQ(server.requests("/tick.html"), 1);
}
