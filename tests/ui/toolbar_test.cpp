// The progress monitor, the toolbar buttons with their hints, and the keys, against a stand-in
// engine, with real pointer and keyboard events.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollermotion.h>
#include <gtkmm/gestureclick.h>

#include "browser/form1.h"
#include "support/fake_engine.h"
#include "support/form_helpers.h"
#include "support/ui_support.h"

using namespace vel;
using vel::test::FakeEngine;

namespace {

struct Toolbar : ::testing::Test {
  Toolbar() {
    form = test::form_with_fake_engine(engine);
    form->Form_Load();
    test::show_and_wait(*form);
    // Leave room above the window, so the pointer can leave across its top edge.
    input.move_window(*form, 50, 60);
    // Every pointer event the window sees, to know when one has been handled.
    auto motion = Gtk::EventControllerMotion::create();
    motion->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    motion->signal_motion().connect([this](double x, double y) { last = {x, y}; });
    form->add_controller(motion);
    auto click = Gtk::GestureClick::create();
    click->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    click->signal_released().connect([this](int, double, double) { ++releases; });
    form->add_controller(click);
  }

  std::string hint() { return form->StatusBar1().panel_text(1); }

  // Moves the pointer to a point of the client area given in twips, and waits until the window
  // has handled the move.
  void point_at(int x_twips, int y_twips) {
    const int x = x_twips / 15, y = y_twips / 15;
    input.move(*form, x, y);
    ASSERT_TRUE(test::run_until([&] { return last == std::make_pair(double(x), double(y)); }))
        << "no motion at " << x << "," << y;
  }

  void click_at(int x_twips, int y_twips) {
    point_at(x_twips, y_twips);
    const int before = releases;
    input.click();
    ASSERT_TRUE(test::run_until([&] { return releases > before; }));
  }

  std::string last_call() { return engine->calls.empty() ? "" : engine->calls.back(); }

  FakeEngine* engine;
  std::unique_ptr<Form1> form;
  test::XInput input;
  std::pair<double, double> last{-1, -1};
  int releases = 0;
};

}  // namespace

TEST_F(Toolbar, MonitorShowsOpeningUntilIdleThenDoneAndTheTitle) {
  engine->busy_value = true;
  engine->title = "Loaded";
  form->cboAddress().get_entry()->set_text("");
  form->cboAddress_Click();  // an empty choice starts the monitor and requests nothing
  EXPECT_TRUE(engine->calls.empty());
  form->timTimer_Timer();
  EXPECT_EQ(form->StatusBar1().panel_text(2), "Opening...");
  EXPECT_EQ(form->get_title(), "Vel");
  form->set_title("something else");
  form->timTimer_Timer();  // busy ticks rewrite the same texts
  EXPECT_EQ(form->get_title(), "Vel");
  EXPECT_TRUE(form->timTimer().enabled());

  engine->busy_value = false;
  form->timTimer_Timer();
  EXPECT_EQ(form->StatusBar1().panel_text(2), "Done");
  EXPECT_EQ(form->get_title(), "Loaded - Vel ");
  EXPECT_FALSE(form->timTimer().enabled());
}

TEST_F(Toolbar, MonitorLooksAgainTheMomentTheEngineSettles) {
  engine->busy_value = true;
  form->cboAddress().get_entry()->set_text("x.test");
  form->cboAddress_Click();
  form->timTimer_Timer();
  EXPECT_EQ(form->StatusBar1().panel_text(2), "Opening...");
  engine->busy_value = false;
  engine->settle();
  test::drain_events();  // only what is ready now: no waiting for the next period
  EXPECT_EQ(form->StatusBar1().panel_text(2), "Done");
  EXPECT_FALSE(form->timTimer().enabled());
  // Settling while the monitor is off changes nothing.
  form->StatusBar1().set_panel_text(2, "");
  engine->settle();
  test::drain_events();
  EXPECT_EQ(form->StatusBar1().panel_text(2), "");
}

TEST_F(Toolbar, MonitorWithNoPageShowsEmptyTitle) {
  // With no page, the caption is the (empty) title and the suffix.
  engine->title = "";
  form->cboAddress().get_entry()->set_text("");
  form->cboAddress_Click();
  ASSERT_TRUE(test::run_until([&] { return !form->timTimer().enabled(); }));
  EXPECT_EQ(form->get_title(), " - Vel ");
}

TEST_F(Toolbar, HintsFollowThePointerAcrossTheButtonRow) {
  point_at(600, 150);
  EXPECT_EQ(hint(), "  Back");
  point_at(1500, 150);
  EXPECT_EQ(hint(), "  Forward");
  point_at(2700, 150);  // the gap between Forward and Stop
  EXPECT_EQ(hint(), "  ");
  point_at(3000, 150);
  EXPECT_EQ(hint(), "  Stop");
  point_at(3000, 420);  // down onto the strip of Label3: no hint of its own
  EXPECT_EQ(hint(), "  Stop");
  point_at(4800, 150);
  EXPECT_EQ(hint(), "  Refresh");
  point_at(6000, 150);
  EXPECT_EQ(hint(), "  Home");
  point_at(7500, 150);
  EXPECT_EQ(hint(), "  Search");
  point_at(6000, 900);  // a command hot-spot writes nothing
  EXPECT_EQ(hint(), "  Search");
  point_at(9000, 150);  // the banner right of the buttons blanks it
  EXPECT_EQ(hint(), "  ");
  point_at(1500, 150);
  // Out across the top edge: the hint stays.
  input.move(*form, 100, -20);
  input.move(*form, 300, -20);
  point_at(4800, 700);  // the address box writes nothing either
  EXPECT_EQ(hint(), "  Forward");
  EXPECT_TRUE(engine->calls.empty());
}

TEST_F(Toolbar, ClicksRunTheUppermostButtonsCommand) {
  click_at(1325, 150);  // Back/Forward overlap: Forward
  EXPECT_EQ(last_call(), "forward");
  click_at(4085, 150);  // Stop/Refresh overlap: Refresh
  EXPECT_EQ(last_call(), "refresh");
  click_at(5525, 150);  // Refresh/Home overlap: Home
  EXPECT_EQ(last_call(), "home");
  click_at(6965, 150);  // Home/Search overlap: Search
  EXPECT_EQ(last_call(), "search");
  click_at(3000, 150);
  EXPECT_EQ(last_call(), "stop");
  EXPECT_EQ(engine->calls.size(), 5u);
  click_at(2700, 150);  // the gap does nothing
  click_at(9000, 150);
  EXPECT_EQ(engine->calls.size(), 5u);
  // None of them starts the progress monitor.
  EXPECT_FALSE(form->timTimer().enabled());
}

TEST_F(Toolbar, BackWritesItsHintAndTheFreeStripsRunWithoutOne) {
  point_at(7500, 150);
  EXPECT_EQ(hint(), "  Search");
  form->StatusBar1().set_panel_text(1, "stale");
  click_at(600, 150);  // the Back hit area writes "  Back" itself
  EXPECT_EQ(last_call(), "back");
  EXPECT_EQ(hint(), "  Back");

  point_at(3000, 150);
  EXPECT_EQ(hint(), "  Stop");
  click_at(3000, 450);  // Label3's free strip: Stop, and the hint stands
  EXPECT_EQ(last_call(), "stop");
  EXPECT_EQ(hint(), "  Stop");
  click_at(600, 900);  // Label1's free strip below the address box: Back without a hint
  EXPECT_EQ(last_call(), "back");
  EXPECT_EQ(hint(), "  Stop");

  // Back with no history fails quietly.
  engine->history_back = false;
  click_at(600, 150);
  EXPECT_EQ(hint(), "  Back");
  EXPECT_EQ(engine->calls.size(), 4u);
}

TEST_F(Toolbar, KeysRunTheButtonsHandlers) {
  point_at(3000, 3000);  // over the page, so the keys go to this window
  input.focus(*form);
  const std::tuple<const char*, std::vector<const char*>, const char*> keys[] = {
      {"Left", {"Alt_L"}, "back"}, {"Right", {"Alt_L"}, "forward"}, {"Escape", {}, "stop"},
      {"F5", {}, "refresh"},       {"r", {"Control_L"}, "refresh"}, {"Home", {"Alt_L"}, "home"},
  };
  for (const auto& [key, mods, call] : keys) {
    const auto before = engine->calls.size();
    input.press_key(key, mods);
    ASSERT_TRUE(test::run_until([&] { return engine->calls.size() > before; })) << key;
    EXPECT_EQ(last_call(), call) << key;
  }
  input.press_key("l", {"Control_L"});
  auto* entry = form->cboAddress().get_entry();
  ASSERT_TRUE(
      test::run_until([&] { return form->get_focus() && form->get_focus()->is_ancestor(*entry); }));
  int start = 0, end = 0;
  EXPECT_TRUE(entry->get_selection_bounds(start, end));
  EXPECT_EQ(end - start, static_cast<int>(entry->get_text().size()));
  EXPECT_FALSE(form->timTimer().enabled());
}

TEST_F(Toolbar, PaintedButtonsHaveNamesForScreenReaders) {
  const std::pair<const char*, const char*> names[] = {
      {"Image2", "Back"},          {"Image3", "Forward"},    {"Image4", "Stop"},
      {"Image5", "Refresh"},       {"Image6", "Home"},       {"Image7", "Search"},
      {"Label1", "Back"},          {"Label3", "Stop"},       {"Label7", "New HTML Document"},
      {"Label14", "Exit Browser"}, {"Label15", "Time Zone"}, {"Label16", "About Vel Browser"}};
  for (const auto& [control, name] : names) {
    auto* accessible = GTK_ACCESSIBLE(form->control(control)->gobj());
    char* mismatch =
        gtk_test_accessible_check_property(accessible, GTK_ACCESSIBLE_PROPERTY_LABEL, name);
    EXPECT_EQ(mismatch, nullptr) << control << ": " << (mismatch ? mismatch : "");
    g_free(mismatch);
  }
}
