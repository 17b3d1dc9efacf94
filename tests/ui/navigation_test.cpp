// The toolbar's commands and the progress monitor with the real web engine, against pages served
// on 127.0.0.1.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include "browser/form1.h"
#include "support/engine_window.h"
#include "support/ui_support.h"

using namespace vel;

namespace {

struct Navigation : test::EngineWindow {
  Navigation() {
    for (const char* name : {"one", "two", "three"})
      server.add_page(std::string("/") + name + ".html", test::titled_page(name));
  }

  test::TestServer server;
};

}  // namespace

TEST_F(Navigation, BackAndForwardAcrossThreePages) {
  // Back with no history does nothing.
  form->Image2_Click();
  EXPECT_EQ(form->StatusBar1().panel_text(1), "  Back");
  EXPECT_FALSE(engine().busy());
  EXPECT_EQ(completions, 0);

  for (const char* name : {"one", "two", "three"})
    load([&] { engine().navigate(server.uri(std::string("/") + name + ".html")); });
  load([&] { form->Image2_Click(); });
  EXPECT_EQ(url(), server.uri("/two.html"));
  load([&] { form->Label1_Click(); });
  EXPECT_EQ(url(), server.uri("/one.html"));
  EXPECT_EQ(engine().location_name(), "one");
  load([&] { form->Image3_Click(); });
  EXPECT_EQ(url(), server.uri("/two.html"));
  load([&] { form->Image3_Click(); });
  EXPECT_EQ(url(), server.uri("/three.html"));
  EXPECT_EQ(std::string(form->cboAddress().get_entry()->get_text()), url());
  // Forward at the newest page does nothing.
  const int before = completions;
  form->Image3_Click();
  EXPECT_FALSE(engine().busy());
  EXPECT_EQ(completions, before);
  // The buttons never start the monitor.
  EXPECT_EQ(form->get_title(), "Vel");
}

TEST_F(Navigation, StopCancelsASlowPageAndRefreshLoadsAgain) {
  load([&] { engine().navigate(server.uri("/one.html")); });
  server.add_slow_page("/slow.html", test::titled_page("Slow"), 30000);
  engine().navigate(server.uri("/slow.html"));
  ASSERT_TRUE(test::run_until([&] { return server.requests("/slow.html") == 1; }));
  EXPECT_TRUE(engine().busy());
  form->Image4_Click();
  ASSERT_TRUE(test::run_until([&] { return !engine().busy(); }));
  EXPECT_EQ(url(), server.uri("/one.html"));

  load([&] { form->Image5_Click(); });
  EXPECT_EQ(server.requests("/one.html"), 2);
  EXPECT_EQ(engine().location_name(), "one");
}

TEST_F(Navigation, HomeAndSearchOpenTheBuiltInPages) {
  load([&] { form->Image6_Click(); });
  EXPECT_EQ(url(), "vel:start");
  EXPECT_EQ(engine().location_name(), "Vel Browser");
  load([&] { form->Image7_Click(); });
  EXPECT_EQ(url(), "vel:search");
  EXPECT_EQ(engine().location_name(), "Search");
  EXPECT_EQ(server.total_requests(), 0);
}

TEST_F(Navigation, ListChoiceEndsWithTheTitleInTheCaption) {
  // Answered a little late, so the monitor sees the engine busy.
  server.add_slow_page("/late.html", test::titled_page("two"), 300);
  auto* entry = form->cboAddress().get_entry();
  entry->set_text(server.uri("/late.html"));
  g_signal_emit_by_name(entry->gobj(), "activate");
  ASSERT_TRUE(test::run_until([&] { return completions > 0 && !engine().busy(); }));
  EXPECT_EQ(form->get_title(), "Vel");  // Enter did not start the monitor

  load([&] { engine().navigate(server.uri("/one.html")); });
  bool saw_opening = false;
  form->StatusBar1().panel(2)->property_label().signal_changed().connect([&] {
    if (form->StatusBar1().panel_text(2) == "Opening...") saw_opening = true;
  });
  form->cboAddress().set_active(0);
  ASSERT_TRUE(test::run_until([&] { return !form->timTimer().enabled(); }));
  EXPECT_TRUE(saw_opening);
  EXPECT_EQ(form->StatusBar1().panel_text(2), "Done");
  EXPECT_EQ(form->get_title(), "two - Vel ");
  EXPECT_EQ(url(), server.uri("/late.html"));
}
