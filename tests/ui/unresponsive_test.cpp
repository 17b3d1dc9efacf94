// SPDX-License-Identifier: GPL-3.0-or-later
// A page whose script never returns cannot trap the user: every command acts within about a
// second (the stuck page's process is ended and the command goes on), a page that stays stuck is
// shown as not responding with Wait and Stop, and a well-behaved page is never slowed or ended.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "engine/webkit_engine.h"
#include "support/processes.h"
#include "support/ui_support.h"
#include "support/window_helpers.h"
#include "windows/browser/browser_window.h"

using namespace vel;
using Clock = std::chrono::steady_clock;

namespace {

// A script that never returns, a moment after the page is in (its title is known by then).
constexpr const char* kLoop = "<script>setTimeout(() => { for (;;) {} }, 100);</script>";

// The page's processes' processor time now, in clock ticks.
unsigned long long page_ticks() {
  unsigned long long ticks = 0;
  for (const auto& [pid, p] : test::process_tree(getpid()))
    if (p.name == "WebKitWebProces") ticks += p.ticks;
  return ticks;
}

// True when no page process spins: over half a second, they use well under half a core.
bool nothing_spins() {
  const unsigned long long before = page_ticks();
  test::run_until([] { return false; }, std::chrono::milliseconds(500));
  const long hz = sysconf(_SC_CLK_TCK);
  return page_ticks() - before < static_cast<unsigned long long>(hz / 4);
}

struct Unresponsive : ::testing::Test {
  Unresponsive() {
    EngineSettings settings;
    settings.watchdog.notice_ms = 300;  // in place of 7 s
    window = std::make_unique<BrowserWindow>(make_webkit_engine_with(settings));
    window->present_and_open();
    test::show_and_wait(*window);
    server.add_page("/hang.html", test::titled_page("Hung", kLoop));
    server.add_page("/a.html", test::titled_page("A"));
    server.add_page("/b.html", test::titled_page("B"));
    server.add_page("/next.html", test::titled_page("Next"));
    // Stuck when shown again (from the history), not the first time.
    server.add_page("/again.html", test::titled_page("Again", R"(<script>
      addEventListener('pageshow', () => {
        if (sessionStorage.seen) setTimeout(() => { for (;;) {} }, 100);
        sessionStorage.seen = 1;
      });</script>)"));
  }

  WebEngine& engine() { return window->engine(); }
  std::string title() { return engine().title(); }

  void load(const std::function<void()>& action) {
    ASSERT_TRUE(test::wait_for_load(engine().signal_load_finished(), action) &&
                test::run_until([&] { return !engine().is_loading(); }))
        << "the load did not end";
  }
  void open(const std::string& path, const std::string& expected_title) {
    load([&] { engine().navigate(server.uri(path)); });
    ASSERT_EQ(title(), expected_title);
  }
  // Waits until the shown page's process is stuck in its script.
  void wait_until_stuck() {
    ASSERT_TRUE(test::run_until([] { return !nothing_spins(); }, std::chrono::seconds(10)))
        << "the page's script did not start";
  }
  // Gives a command and waits for `done`; returns how long that took.
  Clock::duration time(const std::function<void()>& command, const std::function<bool()>& done) {
    const auto start = Clock::now();
    command();
    EXPECT_TRUE(test::run_until(done, std::chrono::seconds(10))) << "now showing " << title();
    return Clock::now() - start;
  }

  std::unique_ptr<BrowserWindow> window;
  test::TestServer server;
};

// Generous for the promised second: the new page's own load is in it too, on a loaded machine.
constexpr auto kDeadline = std::chrono::milliseconds(2500);

}  // namespace

TEST_F(Unresponsive, ANewAddressLoadsAndTheStuckProcessEnds) {
  open("/hang.html", "Hung");
  wait_until_stuck();
  const auto took = time([&] { test::enter_address(*window, server.uri("/next.html")); },
                         [&] { return title() == "Next"; });
  EXPECT_LT(took, kDeadline);
  EXPECT_EQ(server.requests("/next.html"), 1);
  EXPECT_TRUE(nothing_spins());
}

TEST_F(Unresponsive, HomeAndSearchLoad) {
  for (const char* action : {"win.home", "win.search"}) {
    SCOPED_TRACE(action);
    open("/hang.html", "Hung");
    wait_until_stuck();
    const std::string expected = std::string(action) == "win.home" ? "Vel Browser" : "Search";
    const auto took = time([&] { window->activate_action(action); },
                           [&] { return title() == expected && !engine().is_loading(); });
    EXPECT_LT(took, kDeadline);
    EXPECT_TRUE(nothing_spins());
  }
}

TEST_F(Unresponsive, BackAndForwardGo) {
  open("/a.html", "A");
  open("/hang.html", "Hung");
  wait_until_stuck();
  auto took = time([&] { window->activate_action("win.back"); },
                   [&] { return title() == "A" && !engine().is_loading(); });
  EXPECT_LT(took, kDeadline);
  EXPECT_EQ(engine().uri(), server.uri("/a.html"));
  EXPECT_TRUE(nothing_spins());

  open("/again.html", "Again");
  open("/b.html", "B");
  load([&] { window->activate_action("win.back"); });
  ASSERT_EQ(title(), "Again");
  wait_until_stuck();
  took = time([&] { window->activate_action("win.forward"); },
              [&] { return title() == "B" && !engine().is_loading(); });
  EXPECT_LT(took, kDeadline);
  EXPECT_EQ(engine().uri(), server.uri("/b.html"));
  EXPECT_TRUE(nothing_spins());
}

TEST_F(Unresponsive, RefreshLoadsThePageAgain) {
  open("/hang.html", "Hung");
  wait_until_stuck();
  const auto took = time([&] { window->activate_action("win.reload"); },
                         [&] { return server.requests("/hang.html") == 2 && title() == "Hung"; });
  EXPECT_LT(took, kDeadline);
}

TEST_F(Unresponsive, StopEndsThePageAndShowsTheCrashedMessage) {
  open("/hang.html", "Hung");
  wait_until_stuck();
  const auto took = time([&] { window->activate_action("win.stop"); },
                         [&] { return title() == "This page has stopped"; });
  EXPECT_LT(took, kDeadline);
  EXPECT_EQ(engine().uri(), server.uri("/hang.html"));
  EXPECT_TRUE(nothing_spins());
  load([&] { window->activate_action("win.reload"); });
  EXPECT_EQ(title(), "Hung");
  EXPECT_EQ(server.requests("/hang.html"), 2);
}

TEST_F(Unresponsive, NoticeNamesThePageWaitHidesItStopEndsIt) {
  PageNotice& notice = window->page_notice();
  test::XInput input;
  open("/hang.html", "Hung");
  wait_until_stuck();
  EXPECT_FALSE(notice.get_visible());
  // The user waits on the page: a click and a key into it, which it does not answer.
  const auto start = Clock::now();
  input.move(*window, 300, 250);
  input.click();
  input.press_key("Down");
  ASSERT_TRUE(test::run_until([&] { return notice.get_visible(); }, std::chrono::seconds(30)));
  std::printf(
      "notice after %lld ms\n",
      static_cast<long long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count()));
  EXPECT_EQ(notice.heading().get_text(), "This page is not responding");
  EXPECT_NE(notice.address().get_text().find(server.uri("/hang.html")), std::string::npos);
  EXPECT_TRUE(notice.wait_button().has_focus());
  EXPECT_TRUE(test::unnamed_for_readers(notice).empty());
  EXPECT_EQ(title(), "Hung");

  int waits = 0;
  bool hidden = false;
  notice.signal_wait().connect([&] { ++waits, hidden = !notice.get_visible(); });
  // Laid out and drawn before it is clicked.
  ASSERT_TRUE(test::run_until([&] { return notice.wait_button().get_width() > 0; }));
  input.click(*window, notice.wait_button());
  ASSERT_TRUE(test::run_until([&] { return waits == 1; }));
  EXPECT_TRUE(hidden);
  // Still stuck: told again.
  ASSERT_TRUE(test::run_until([&] { return notice.get_visible(); }, std::chrono::seconds(30)));

  input.click(*window, notice.stop_button());
  ASSERT_TRUE(test::run_until([&] { return title() == "This page has stopped"; }));
  EXPECT_FALSE(notice.get_visible());
  EXPECT_TRUE(nothing_spins());
  load([&] { window->activate_action("win.reload"); });
  EXPECT_EQ(title(), "Hung");
  EXPECT_EQ(server.requests("/hang.html"), 2);
}

TEST_F(Unresponsive, APageThatRecoversLosesTheNotice) {
  server.add_page("/busy.html", test::titled_page("Busy", R"(<script>setTimeout(() => {
    const end = Date.now() + 8000; while (Date.now() < end) {}
    document.title = 'Recovered';
  }, 100);</script>)"));
  PageNotice& notice = window->page_notice();
  test::XInput input;
  open("/busy.html", "Busy");
  wait_until_stuck();
  input.move(*window, 300, 250);
  input.click();
  input.press_key("Down");
  ASSERT_TRUE(test::run_until([&] { return notice.get_visible(); }, std::chrono::seconds(8)));
  ASSERT_TRUE(test::run_until([&] { return !notice.get_visible(); }, std::chrono::seconds(20)));
  EXPECT_TRUE(test::run_until([&] { return title() == "Recovered"; }));
  EXPECT_EQ(server.requests("/busy.html"), 1);
}

// A page slow on the network is not stuck: nothing is ended and nothing loads twice.
TEST_F(Unresponsive, ASlowPageIsNeverTakenForAStuckOne) {
  server.add_slow_page("/slow.html", test::titled_page("Slow"), 3000);
  open("/a.html", "A");
  load([&] { engine().navigate(server.uri("/slow.html")); });
  EXPECT_EQ(title(), "Slow");
  EXPECT_EQ(server.requests("/slow.html"), 1);
  // Commands on a page that answers, while another is on its way.
  engine().navigate(server.uri("/slow.html"));
  test::run_until([] { return false; }, std::chrono::milliseconds(1500));
  load([&] { window->activate_action("win.back"); });
  EXPECT_EQ(title(), "A");
  window->activate_action("win.stop");
  test::run_until([] { return false; }, std::chrono::milliseconds(1500));
  EXPECT_EQ(title(), "A");
  EXPECT_FALSE(window->page_notice().get_visible());
  EXPECT_EQ(server.requests("/a.html"), 1);
}
