// SPDX-License-Identifier: GPL-3.0-or-later
// The browser window with the real web engine, driven by real key events, against pages served
// on 127.0.0.1: titles, failures, typed addresses, Back, Forward, Stop and Refresh.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include <filesystem>
#include <fstream>

#include "support/engine_window.h"
#include "support/ui_support.h"
#include "toolkit/hotspot.h"
#include "webkit/webkit_engine.h"
#include "windows/browser/browser_window.h"

using namespace vel;
using test::Role;

namespace {

struct EngineFixture : test::EngineWindow {
  // Puts the text into the real address box as a user would (Ctrl+A, Ctrl+V: the keymap cannot
  // type control characters), then presses Enter.
  void enter_address(const std::string& text) {
    auto* entry = test::Seam::address_box(*window).get_entry();
    window->get_clipboard()->set_text(text);
    input.click(*window, *entry);
    ASSERT_SOON(window->get_focus() && window->get_focus()->is_ancestor(*entry));
    const std::string before = entry->get_text();
    input.press_key("a", {"Control_L"});
    input.press_key("v", {"Control_L"});
    // The box may keep less than was pasted (no control characters, a length limit).
    ASSERT_SOON(std::string(entry->get_text()) != before);
    input.press_key("Return");
  }

  // Waits for a load to start and end; returns the title the engine gave at the first moment
  // it was no longer busy.
  std::string wait_for_load() {
    bool was_busy = false;
    std::string title_when_idle = "?";
    EXPECT_TRUE(test::run_until([&] {
      was_busy = was_busy || engine().is_loading();
      if (was_busy && !engine().is_loading()) title_when_idle = title();
      return was_busy && !engine().is_loading();
    })) << "the load did not start and end";
    return title_when_idle;
  }

  // What a click on the hot-spot runs.
  void press(test::Role role) {
    dynamic_cast<Hotspot&>(test::Seam::control(*window, role)).activate_click();
  }
};

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
  engine().load_home_page();
  EXPECT_EQ(wait_for_load(), "Vel Browser");
  EXPECT_EQ(url(), "vel:start");
  engine().load_search_page();
  EXPECT_EQ(wait_for_load(), "Search");
  EXPECT_EQ(server.total_requests(), requests);
}

TEST_F(EngineFixture, EveryFailedLoadEndsOnVelsPageUnderTheAddressAndRefreshTriesItAgain) {
  server.add_page("/here.html", test::titled_page("Here"));
  const auto missing = std::filesystem::temp_directory_path() / "vel-no-such-file.html";
  std::filesystem::remove(missing);
  // A port that nothing listens on: one taken from a server that is gone.
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(test::TestServer().port()) + "/x.html";
  // The page texts have a unit test; these rows (what is typed, the address shown then, the title
  // of Vel's page) are the engine's own refusals and one failure of each kind of load.
  const std::tuple<std::string, std::string, std::string> rows[] = {
      {refused, refused, "The site refused the connection"},
      {"127.0.0.1:9/x", "http://127.0.0.1:9/x", "This port is blocked"},
      {"http://nothing.invalid/", "http://nothing.invalid/", "The site could not be found"},
      {"nosuchscheme:x", "nosuchscheme:x", "No application opens this address"},
      {missing.string(), "file://" + missing.string(), "The file could not be opened"},
  };
  std::vector<std::string> captions;
  window->property_title().signal_changed().connect(
      [&] { captions.push_back(window->get_title()); });
  auto* entry = test::Seam::address_box(*window).get_entry();
  // The monitor watches from the moment Enter is handled, as it does for a choice from the list.
  entry->signal_activate().connect([&] { test::Seam::load_monitor(*window).set_enabled(true); });
  for (const auto& [typed, address, shown] : rows) {
    load([&] { engine().navigate(server.uri("/here.html")); });
    captions.clear();
    enter_address(typed);
    // The monitor's caption is the failure's, and nothing else came before it.
    ASSERT_SOON(!captions.empty() && !test::Seam::load_monitor(*window).enabled()) << typed;
    EXPECT_EQ(captions.back(), shown + " - Vel ");
    for (const auto& caption : captions)
      EXPECT_TRUE(caption == "Vel" || caption == captions.back()) << caption;
    EXPECT_EQ(title(), shown);
    EXPECT_EQ(std::string(entry->get_text()), address);
    EXPECT_EQ(url(), address);
    if (address.rfind("file:", 0) == 0) std::ofstream(missing) << test::titled_page("Found");
    load([&] { window->activate_action("win.reload"); });
    EXPECT_EQ(title(), address.rfind("file:", 0) == 0 ? "Found" : shown);
    EXPECT_EQ(url(), address);
  }
  std::filesystem::remove(missing);
}

TEST_F(EngineFixture, EnteredAddressesLoadAndAbsurdOnesAreRefusedAndKeptOutOfTheList) {
  server.add_page("/fine.html", test::titled_page("Fine"));
  const std::string good = server.uri("/fine.html");
  enter_address(good);
  ASSERT_EQ(wait_for_load(), "Fine");
  EXPECT_EQ(server.requests("/fine.html"), 1);
  ASSERT_SOON(completions > 0);
  EXPECT_EQ(std::string(test::Seam::address_box(*window).get_entry()->get_text()), good);
  EXPECT_EQ(url(), good);
  EXPECT_EQ(test::address_list(*window), std::vector<std::string>{good});
  EXPECT_FALSE(engine().navigate(""));
  EXPECT_FALSE(engine().is_loading()) << "nothing to load, nothing to wait for";

  // Each refusal is told in the view, one at a time so that each message is its own; what the
  // engine takes goes into the list and ends in its error page.
  const std::string refused = "Vel cannot open this address";
  const std::pair<std::string, std::string> inputs[] = {
      {std::string(1 << 20, 'a'), refused},
      {std::string("a\x01\x02\x7f") + "b", refused},
      {"javascript:document.title='owned'", refused},
      {"http://", "Vel cannot show this address"},
  };
  std::vector<std::string> list = {good};
  for (const auto& [text, shown] : inputs) {
    enter_address(text);
    const std::string typed = test::Seam::address_box(*window).get_entry()->get_text();
    EXPECT_EQ(wait_for_load(), shown) << text.substr(0, 40);
    // What the user typed stays in the box when the engine refuses it.
    if (shown == refused)
      EXPECT_EQ(std::string(test::Seam::address_box(*window).get_entry()->get_text()), typed);
    else
      list.push_back(text);
  }
  EXPECT_EQ(test::address_list(*window), list);
  enter_address(good);
  EXPECT_EQ(wait_for_load(), "Fine");
}

TEST_F(EngineFixture, BackForwardAndStop) {
  for (std::string name : {"one", "two", "three"}) {
    server.add_page("/" + name + ".html", test::titled_page(name));
    load([&] { engine().navigate(server.uri("/" + name + ".html")); });
  }
  const std::pair<Role, std::string> steps[] = {{Role::BackButton, "two"},
                                                {Role::BackStrip, "one"},
                                                {Role::ForwardButton, "two"},
                                                {Role::ForwardButton, "three"}};
  for (const auto& [role, name] : steps) {
    load([&] { press(role); });
    EXPECT_EQ(url(), server.uri("/" + name + ".html"));
    EXPECT_EQ(title(), name);
  }
  EXPECT_EQ(std::string(test::Seam::address_box(*window).get_entry()->get_text()), url());
  // Forward at the newest page does nothing.
  const int before = completions;
  press(Role::ForwardButton);
  EXPECT_FALSE(engine().is_loading());
  EXPECT_EQ(completions, before);

  // Stop cancels a slow page and the one before stays.
  server.add_page("/slow.html", test::titled_page("Slow"), "text/html", 30000);
  engine().navigate(server.uri("/slow.html"));
  ASSERT_SOON(server.requests("/slow.html") == 1);
  EXPECT_TRUE(engine().is_loading());
  press(Role::StopButton);
  ASSERT_SOON(!engine().is_loading());
  EXPECT_EQ(url(), server.uri("/three.html"));
  EXPECT_EQ(title(), "three");
}
