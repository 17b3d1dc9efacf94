// The toolbar's commands and the progress monitor with the real web engine, against pages served
// on 127.0.0.1.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include "browser/browser_window.h"
#include "platform/hotspot.h"
#include "support/engine_window.h"
#include "support/ui_support.h"
#include "support/window_helpers.h"

using namespace vel;
using test::Role;

namespace {

struct Navigation : test::EngineWindow {
  Navigation() {
    for (const char* name : {"one", "two", "three"})
      server.add_page(std::string("/") + name + ".html", test::titled_page(name));
  }

  // What a click on the hot-spot runs.
  void press(test::Role role) { dynamic_cast<Hotspot&>(window->control(role)).activate_click(); }

  test::TestServer server;
};

}  // namespace

TEST_F(Navigation, BackAndForwardAcrossThreePages) {
  // Back with no history does nothing.
  press(Role::BackButton);
  EXPECT_EQ(window->status_bar().panel_text(1), "  Back");
  EXPECT_FALSE(engine().busy());
  EXPECT_EQ(completions, 0);

  for (const char* name : {"one", "two", "three"})
    load([&] { engine().navigate(server.uri(std::string("/") + name + ".html")); });
  load([&] { press(Role::BackButton); });
  EXPECT_EQ(url(), server.uri("/two.html"));
  load([&] { press(Role::BackStrip); });
  EXPECT_EQ(url(), server.uri("/one.html"));
  EXPECT_EQ(engine().location_name(), "one");
  load([&] { press(Role::ForwardButton); });
  EXPECT_EQ(url(), server.uri("/two.html"));
  load([&] { press(Role::ForwardButton); });
  EXPECT_EQ(url(), server.uri("/three.html"));
  EXPECT_EQ(std::string(window->address_box().get_entry()->get_text()), url());
  // Forward at the newest page does nothing.
  const int before = completions;
  press(Role::ForwardButton);
  EXPECT_FALSE(engine().busy());
  EXPECT_EQ(completions, before);
  // The buttons never start the monitor.
  EXPECT_EQ(window->get_title(), "Vel");
}

TEST_F(Navigation, StopCancelsASlowPageAndRefreshLoadsAgain) {
  load([&] { engine().navigate(server.uri("/one.html")); });
  server.add_slow_page("/slow.html", test::titled_page("Slow"), 30000);
  engine().navigate(server.uri("/slow.html"));
  ASSERT_TRUE(test::run_until([&] { return server.requests("/slow.html") == 1; }));
  EXPECT_TRUE(engine().busy());
  press(Role::StopButton);
  ASSERT_TRUE(test::run_until([&] { return !engine().busy(); }));
  EXPECT_EQ(url(), server.uri("/one.html"));

  load([&] { press(Role::RefreshButton); });
  EXPECT_EQ(server.requests("/one.html"), 2);
  EXPECT_EQ(engine().location_name(), "one");
}

TEST_F(Navigation, HomeAndSearchOpenTheBuiltInPages) {
  load([&] { press(Role::HomeButton); });
  EXPECT_EQ(url(), "vel:start");
  EXPECT_EQ(engine().location_name(), "Vel Browser");
  load([&] { press(Role::SearchButton); });
  EXPECT_EQ(url(), "vel:search");
  EXPECT_EQ(engine().location_name(), "Search");
  EXPECT_EQ(server.total_requests(), 0);
}

TEST_F(Navigation, ListChoiceEndsWithTheTitleInTheCaption) {
  // Answered a little late, so the monitor sees the engine busy.
  server.add_slow_page("/late.html", test::titled_page("two"), 300);
  auto* entry = window->address_box().get_entry();
  entry->set_text(server.uri("/late.html"));
  g_signal_emit_by_name(entry->gobj(), "activate");
  ASSERT_TRUE(test::run_until([&] { return completions > 0 && !engine().busy(); }));
  EXPECT_EQ(window->get_title(), "Vel");  // Enter did not start the monitor

  load([&] { engine().navigate(server.uri("/one.html")); });
  bool saw_opening = false;
  window->status_bar().panel(2)->property_label().signal_changed().connect([&] {
    if (window->status_bar().panel_text(2) == "Opening...") saw_opening = true;
  });
  window->address_box().set_active(0);
  ASSERT_TRUE(test::run_until([&] { return !window->load_monitor().enabled(); }));
  EXPECT_TRUE(saw_opening);
  EXPECT_EQ(window->status_bar().panel_text(2), "Done");
  EXPECT_EQ(window->get_title(), "two - Vel ");
  EXPECT_EQ(url(), server.uri("/late.html"));
}
