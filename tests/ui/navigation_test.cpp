// SPDX-License-Identifier: GPL-3.0-or-later
// Back, Forward, Stop and Refresh with the real web engine, against pages served on 127.0.0.1.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include "platform/hotspot.h"
#include "support/engine_window.h"

using namespace vel;
using test::Role;

namespace {

struct Navigation : test::EngineWindow {
  // What a click on the hot-spot runs.
  void press(Role role) { dynamic_cast<Hotspot&>(window->control(role)).activate_click(); }

  test::TestServer server;
};

}  // namespace

TEST_F(Navigation, HistoryStopAndRefresh) {
  // Back with no history does nothing but write its hint.
  press(Role::BackButton);
  EXPECT_EQ(window->status_bar().panel_text(1), "  Back");
  EXPECT_FALSE(engine().busy());

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
  EXPECT_EQ(std::string(window->address_box().get_entry()->get_text()), url());
  // Forward at the newest page does nothing.
  const int before = completions;
  press(Role::ForwardButton);
  EXPECT_FALSE(engine().busy());
  EXPECT_EQ(completions, before);

  // Stop cancels a slow page and the one before stays; Refresh asks for that one again.
  server.add_slow_page("/slow.html", test::titled_page("Slow"), 30000);
  engine().navigate(server.uri("/slow.html"));
  ASSERT_TRUE(test::run_until([&] { return server.requests("/slow.html") == 1; }));
  EXPECT_TRUE(engine().busy());
  press(Role::StopButton);
  ASSERT_TRUE(test::run_until([&] { return !engine().busy(); }));
  EXPECT_EQ(url(), server.uri("/three.html"));
  const int asked = server.requests("/three.html");
  load([&] { press(Role::RefreshButton); });
  EXPECT_EQ(server.requests("/three.html"), asked + 1);
  EXPECT_EQ(title(), "three");
}
