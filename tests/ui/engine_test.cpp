// The browser window with the real web engine, driven by real key events, against pages served
// on 127.0.0.1.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include <filesystem>

#include "browser/browser_window.h"
#include "support/engine_window.h"
#include "support/ui_support.h"

using namespace vel;

namespace {

struct EngineFixture : test::EngineWindow {
  // Puts the text into the real address box as a user would (Ctrl+A, Ctrl+V: the keymap cannot
  // type control characters), then presses Enter.
  void enter_address(const std::string& text) {
    auto* entry = window->address_box().get_entry();
    window->get_clipboard()->set_text(text);
    input.move(*window, 300, 42);
    input.click();
    ASSERT_TRUE(test::run_until(
        [&] { return window->get_focus() && window->get_focus()->is_ancestor(*entry); }));
    const std::string before = entry->get_text();
    input.press_key("a", {"Control_L"});
    input.press_key("v", {"Control_L"});
    // The box may keep less than was pasted (no control characters, a length limit).
    ASSERT_TRUE(test::run_until([&] { return std::string(entry->get_text()) != before; }));
    input.press_key("Return");
  }

  // Waits for a load to start and end; returns the title the engine gave at the first moment
  // it was no longer busy.
  std::string wait_for_load() {
    bool was_busy = false;
    std::string title_when_idle = "?";
    EXPECT_TRUE(test::run_until([&] {
      was_busy = was_busy || engine().busy();
      if (was_busy && !engine().busy()) title_when_idle = title();
      return was_busy && !engine().busy();
    })) << "the load did not start and end";
    return title_when_idle;
  }

  test::TestServer server;
  test::XInput input;
};

// An address on a port that nothing listens on: one taken from a server that is gone.
std::string unreachable_address() {
  return "http://127.0.0.1:" + std::to_string(test::TestServer().port()) + "/x.html";
}

}  // namespace

TEST_F(EngineFixture, TitleIsKnownWhenTheLoadEnds) {
  // Pages whose titles reach the engine at different moments: in the head, late in a long body,
  // and written by a script while the page loads. Each time the engine stops being busy, the
  // title must already be the finished page's.
  server.add_page("/a.html", test::titled_page("Alpha"));
  server.add_page("/b.html", "<html><head></head><body>" + std::string(200000, ' ') +
                                 "<p>x</p><title>Beta</title></body></html>");
  server.add_page("/c.html",
                  "<html><head><script>document.title='Gamma'</script></head><body></body></html>");
  server.add_page("/d.html", "<html><body><p>No title at all</p></body></html>");
  for (const auto& [path, expected] : {std::pair{"/a.html", "Alpha"},
                                       {"/b.html", "Beta"},
                                       {"/c.html", "Gamma"},
                                       {"/d.html", ""},
                                       {"/a.html", "Alpha"}}) {
    ASSERT_TRUE(engine().navigate(server.uri(path)));
    EXPECT_EQ(wait_for_load(), expected) << path;
  }
  // The built-in pages come from the program itself.
  const int requests = server.total_requests();
  ASSERT_TRUE(engine().go_home());
  EXPECT_EQ(wait_for_load(), "Vel Browser");
  EXPECT_EQ(url(), "vel:start");
  ASSERT_TRUE(engine().go_search());
  EXPECT_EQ(wait_for_load(), "Search");
  EXPECT_EQ(server.total_requests(), requests);
}

TEST_F(EngineFixture, AFailedLoadIsBusyUntilTheErrorPageIsIn) {
  // The engine ends a failed load and only then starts loading its error page (which has no
  // title): whoever waits for the end must see that page, not the one before it.
  server.add_page("/here.html", test::titled_page("Here"));
  const auto missing = std::filesystem::temp_directory_path() / "vel-no-such-file.html";
  std::filesystem::remove(missing);
  const std::string unreachable = unreachable_address();
  const std::string failing[][2] = {{unreachable, unreachable},
                                    {missing.string(), "file://" + missing.string()},
                                    {"nosuchscheme:x", "nosuchscheme:x"}};
  for (int round = 0; round < 6; ++round) {
    const auto& [address, shown_url] = failing[round % 3];
    ASSERT_TRUE(engine().navigate(server.uri("/here.html")));
    ASSERT_EQ(wait_for_load(), "Here");
    ASSERT_TRUE(engine().navigate(address));
    EXPECT_EQ(wait_for_load(), "") << address;
    EXPECT_EQ(url(), shown_url);
  }
}

TEST_F(EngineFixture, EnteredAddressesLoadAndAbsurdOnesAreRefusedAndKeptOutOfTheList) {
  server.add_page("/fine.html", test::titled_page("Fine"));
  const std::string good = server.uri("/fine.html");
  enter_address(good);
  ASSERT_EQ(wait_for_load(), "Fine");
  EXPECT_EQ(server.requests("/fine.html"), 1);
  ASSERT_TRUE(test::run_until([&] { return completions > 0; }));
  EXPECT_EQ(std::string(window->address_box().get_entry()->get_text()), good);
  EXPECT_EQ(url(), good);
  EXPECT_EQ(test::address_list(*window), std::vector<std::string>{good});
  // Enter does not start the progress monitor.
  EXPECT_FALSE(window->load_monitor().enabled());
  EXPECT_EQ(window->get_title(), "Vel");
  EXPECT_FALSE(engine().navigate(""));
  EXPECT_FALSE(engine().busy()) << "nothing to load, nothing to wait for";

  // Each refusal is told in the view, one at a time so that each message is its own; what the
  // engine takes goes into the list and ends in its error page.
  const std::string refused = "Vel cannot open this address";
  const std::pair<std::string, std::string> inputs[] = {
      {std::string(1 << 20, 'a'), refused},
      {"a\x01\x02\x7f"
       "b",
       refused},
      {"javascript:document.title='owned'", refused},
      {"::::", refused},
      {"%00", refused},
      {"nosuchscheme:x", ""},
      {"http://", ""},
      {"http://[::1", ""},
  };
  std::vector<std::string> list = {good};
  for (const auto& [text, shown] : inputs) {
    enter_address(text);
    EXPECT_EQ(wait_for_load(), shown) << text.substr(0, 40);
    if (shown != refused) list.push_back(text);
  }
  EXPECT_EQ(test::address_list(*window), list);
  enter_address(good);
  EXPECT_EQ(wait_for_load(), "Fine");
}
