// The browser window with the real web engine, driven by real key events, against pages served
// on 127.0.0.1.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include <filesystem>
#include <fstream>

#include "browser/browser_window.h"
#include "support/engine_window.h"
#include "support/ui_support.h"

using namespace vel;

namespace {

struct EngineFixture : test::EngineWindow {
  // Types into the real address box with the keyboard, then presses Enter.
  void type_address(const std::string& text) {
    auto* entry = window->address_box().get_entry();
    input.move(*window, 300, 42);
    input.click();
    ASSERT_TRUE(test::run_until(
        [&] { return window->get_focus() && window->get_focus()->is_ancestor(*entry); }));
    input.press_key("a", {"Control_L"});
    input.press_key("BackSpace");
    ASSERT_TRUE(test::run_until([&] { return entry->get_text().empty(); }));
    input.type(text);
    ASSERT_TRUE(test::run_until([&] { return std::string(entry->get_text()) == text; }))
        << "typed: " << std::string(entry->get_text());
    input.press_key("Return");
  }

  // Waits for a load to start and end; returns the title the engine gave at the first moment
  // it was no longer busy.
  std::string wait_for_load() {
    bool was_busy = false;
    std::string title_when_idle = "?";
    const bool ok = test::run_until([&] {
      const bool busy = engine().busy();
      if (busy) was_busy = true;
      if (was_busy && !busy) {
        title_when_idle = engine().location_name();
        return true;
      }
      return false;
    });
    EXPECT_TRUE(ok) << "the load did not end";
    EXPECT_TRUE(was_busy) << "the engine never said it was busy";
    return title_when_idle;
  }

  // An address on a port that nothing listens on: one taken from a server that is gone.
  static std::string unreachable_address() {
    int port;
    {
      test::TestServer gone;
      port = gone.port();
    }
    return "http://127.0.0.1:" + std::to_string(port) + "/x.html";
  }

  test::TestServer server;
  test::XInput input;
};

}  // namespace

TEST_F(EngineFixture, TypedAddressLoadsAndTheBoxFollowsTheEngine) {
  server.add_page("/one.html", test::titled_page("Page One"));
  const std::string address = server.uri("/one.html");
  type_address(address);
  const auto title = wait_for_load();
  EXPECT_EQ(title, "Page One");
  EXPECT_EQ(server.requests("/one.html"), 1);
  ASSERT_TRUE(test::run_until([&] { return completions > 0; }));
  EXPECT_EQ(std::string(window->address_box().get_entry()->get_text()), engine().location_url());
  EXPECT_EQ(engine().location_url(), address);
  EXPECT_EQ(test::address_list(*window), std::vector<std::string>{address});
  // Enter does not start the progress monitor.
  EXPECT_FALSE(window->load_monitor().enabled());
  EXPECT_EQ(window->get_title(), "Vel");
}

TEST_F(EngineFixture, TitleIsKnownWhenTheLoadEnds) {
  // Pages whose titles reach the engine at different moments: in the head, late in a long body,
  // and written by a script while the page loads. Each time the engine stops being busy, the
  // title must already be the finished page's.
  std::string filler(200000, ' ');
  server.add_page("/a.html", test::titled_page("Alpha"));
  server.add_page("/b.html", "<html><head></head><body>" + filler +
                                 "<p>x</p><title>Beta</title></body></html>");
  server.add_page("/c.html",
                  "<html><head><script>document.title='Gamma'</script></head><body></body></html>");
  server.add_page("/d.html", "<html><body><p>No title at all</p></body></html>");
  const std::pair<const char*, const char*> pages[] = {{"/a.html", "Alpha"},
                                                       {"/b.html", "Beta"},
                                                       {"/c.html", "Gamma"},
                                                       {"/d.html", ""},
                                                       {"/a.html", "Alpha"}};
  for (const auto& [path, expected] : pages) {
    ASSERT_TRUE(engine().navigate(server.uri(path)));
    EXPECT_EQ(wait_for_load(), expected) << path;
  }
}

TEST_F(EngineFixture, UnreachableAndMissingEndInAnErrorPage) {
  const std::string unreachable = unreachable_address();
  type_address(unreachable);
  ASSERT_TRUE(test::run_until([&] { return completions > 0 && !engine().busy(); }));
  EXPECT_EQ(engine().location_url(), unreachable);
  EXPECT_EQ(test::address_list(*window), std::vector<std::string>{unreachable});

  completions = 0;
  const auto missing = std::filesystem::temp_directory_path() / "vel-no-such-file.html";
  std::filesystem::remove(missing);
  type_address(missing.string());
  ASSERT_TRUE(test::run_until([&] { return completions > 0 && !engine().busy(); }));
  EXPECT_EQ(engine().location_url(), "file://" + missing.string());

  // The window still answers.
  server.add_page("/ok.html", test::titled_page("Fine"));
  ASSERT_TRUE(engine().navigate(server.uri("/ok.html")));
  EXPECT_EQ(wait_for_load(), "Fine");
}

TEST_F(EngineFixture, AddressesThatAreNotAddressesLoadNothingHarmful) {
  server.add_page("/here.html", test::titled_page("Here"));
  ASSERT_TRUE(engine().navigate(server.uri("/here.html")));
  EXPECT_EQ(wait_for_load(), "Here");
  EXPECT_FALSE(engine().navigate(""));
  EXPECT_FALSE(engine().busy()) << "nothing to load, nothing to wait for";
  // Each refused address is told in the view; one at a time, so that each message is its own.
  for (const std::string& refused :
       {std::string("javascript:document.title='owned'"), std::string(1 << 20, 'x'),
        std::string("http://a\x01\x02"
                    "b")}) {
    EXPECT_FALSE(engine().navigate(refused));
    EXPECT_EQ(wait_for_load(), "Vel cannot open this address");
  }
  EXPECT_NE(engine().location_name(), "owned");
  // An unknown scheme is the engine's to refuse, with its own error page; the program goes on.
  EXPECT_TRUE(engine().navigate("nosuchscheme:whatever"));
  EXPECT_EQ(wait_for_load(), "");
  ASSERT_TRUE(engine().navigate(server.uri("/here.html")));
  EXPECT_EQ(wait_for_load(), "Here");
}

TEST_F(EngineFixture, AFailedLoadIsBusyUntilTheErrorPageIsIn) {
  // The engine ends a failed load and only then starts loading its error page: whoever waits for
  // the end must see that page (which has no title), not the one before it.
  server.add_page("/here.html", test::titled_page("Here"));
  const std::string unreachable = unreachable_address();
  for (int round = 0; round < 5; ++round) {
    ASSERT_TRUE(engine().navigate(server.uri("/here.html")));
    ASSERT_EQ(wait_for_load(), "Here");
    ASSERT_TRUE(engine().navigate(round % 2 ? unreachable : "nosuchscheme:x"));
    EXPECT_EQ(wait_for_load(), "") << "round " << round;
  }
}

TEST_F(EngineFixture, BuiltinPagesOpenOffline) {
  ASSERT_TRUE(engine().go_home());
  EXPECT_EQ(wait_for_load(), "Vel Browser");
  EXPECT_EQ(engine().location_url(), "vel:start");
  ASSERT_TRUE(engine().go_search());
  EXPECT_EQ(wait_for_load(), "Search");
  EXPECT_EQ(server.total_requests(), 0);
}
