// SPDX-License-Identifier: GPL-3.0-or-later
// The browser window against a stand-in engine: layout, stacking, start-up state, the address box.
#include "windows/browser/browser_window.h"

#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include "core/builtin_addresses.h"
#include "support/fake_engine.h"
#include "support/ui_support.h"

using namespace vel;
using vel::test::Role;

namespace {

struct Fixture : ::testing::Test {
  Fixture() { window = test::window_with_fake_engine(engine); }
  void enter(const std::string& text) { test::enter_address(*window, text); }
  void choose(int row) { test::Seam::address_box(*window).set_active(row); }

  test::FakeEngine* engine;
  std::unique_ptr<BrowserWindow> window;
};

}  // namespace

TEST_F(Fixture, UppermostControlFollowsTheStacking) {
  // Points in twips and the control uppermost there. Exit Browser lies over Exit; the Back
  // picture over the Forward strip; only y 795 to 975 of the Back strip and y 375 to 480 of the
  // Stop strip are reachable; windowed controls lie above everything.
  const std::tuple<int, int, Role> spots[] = {
      {8100, 900, Role::ExitBrowserSpot}, {1200, 100, Role::BackButton},
      {1305, 100, Role::BackButton},      {8430, 100, Role::Banner},
      {9585, 300, Role::Banner},          {600, 780, Role::AddressBox},
      {600, 800, Role::BackStrip},        {600, 960, Role::BackStrip},
      {600, 990, Role::Banner},           {3000, 390, Role::StopStrip},
      {3000, 465, Role::StopStrip},       {3000, 495, Role::AddressBox},
      {100, 1200, Role::PageView},        {100, 1205, Role::PageView},
      {100, 6960, Role::StatusBar},       {200, 700, Role::Banner},
      {5500, 900, Role::ClockSpot},       {9400, 600, Role::AddressBox},
  };
  for (const auto& [x, y, role] : spots)
    EXPECT_EQ(test::control_at(*window, x, y), role) << x << "," << y;
}

TEST_F(Fixture, StartsAtItsLayoutSizesWithNothingRequested) {
  EXPECT_FALSE(window->get_decorated());
  EXPECT_EQ(window->get_width(), 640);
  EXPECT_EQ(window->get_height(), 480);
  EXPECT_EQ(test::Seam::address_box(*window).get_width(), 613);
  EXPECT_EQ(test::Seam::address_box(*window).get_height(), 21);
  EXPECT_EQ(test::Seam::control(*window, Role::Banner).get_width(), 640);
  EXPECT_EQ(test::Seam::control(*window, Role::Banner).get_height(), 81);
  EXPECT_EQ(test::Seam::status_bar(*window).get_height(), 17);
  double x1 = 0, x2 = 0, y = 0;
  test::Seam::status_bar(*window).panel(1)->translate_coordinates(*window, 0, 0, x1, y);
  test::Seam::status_bar(*window).panel(2)->translate_coordinates(*window, 0, 0, x2, y);
  EXPECT_EQ(x2 - x1, 96);
  // 880 twips is 58.7 px: the About spot starts on row 59.
  test::Seam::control(*window, Role::AboutSpot).translate_coordinates(*window, 0, 0, x1, y);
  EXPECT_EQ(y, 59);
  EXPECT_EQ(test::Seam::control(*window, Role::AboutSpot).get_height(), 17);

  EXPECT_EQ(window->get_title(), "Vel");
  EXPECT_EQ(test::Seam::status_bar(*window).panel_text(1), "");
  EXPECT_EQ(test::Seam::status_bar(*window).panel_text(2), "");
  EXPECT_FALSE(test::Seam::status_bar(*window).panel_text(3).empty());
  const std::string time = test::Seam::status_bar(*window).panel_text(4);
  EXPECT_EQ(std::count(time.begin(), time.end(), ':'), 1) << time;  // no seconds
  EXPECT_EQ(test::Seam::address_box(*window).get_entry()->get_text(), kHomeAddress);
  EXPECT_TRUE(test::address_list(*window).empty());
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_FALSE(test::Seam::load_monitor(*window).enabled());
  EXPECT_TRUE(engine->widget().has_focus() || window->get_focus() == &engine->widget());

  // A larger window: the status bar follows the bottom edge, everything else stays.
  window->set_default_size(800, 600);
  ASSERT_SOON(window->get_height() == 600 && test::Seam::status_bar(*window).get_width() == 800);
  test::Seam::status_bar(*window).translate_coordinates(*window, 0, 0, x1, y);
  EXPECT_EQ(y, 600 - 17);
  test::Seam::address_box(*window).translate_coordinates(*window, 0, 0, x1, y);
  EXPECT_EQ(x1, 16);
  EXPECT_EQ(y, 32);
  EXPECT_EQ(test::Seam::control(*window, Role::PageView).get_height(), 385);
}

TEST_F(Fixture, EnterNavigatesThenAppendsEvenDuplicates) {
  enter("a.test");
  enter("a.test");
  enter("   ");  // blanks are passed on as they are
  // Enter never starts the progress monitor. (What the engine refuses stays out of the list and in
  // the box: the real engine's test.)
  EXPECT_FALSE(test::Seam::load_monitor(*window).enabled());
  EXPECT_EQ(engine->calls,
            (std::vector<std::string>{"navigate:a.test", "navigate:a.test", "navigate:   "}));
  EXPECT_EQ(test::address_list(*window), (std::vector<std::string>{"a.test", "a.test", "   "}));
}

TEST_F(Fixture, ListChoiceNavigatesAndStartsTheMonitorAndALoadEndReplacesTypedText) {
  enter("one.test");
  enter("two.test");
  engine->calls.clear();
  choose(0);
  EXPECT_EQ(test::Seam::address_box(*window).get_entry()->get_text(), "one.test");
  EXPECT_EQ(engine->calls, std::vector<std::string>{"navigate:one.test"});
  EXPECT_EQ(test::address_list(*window).size(), 2u);
  EXPECT_TRUE(test::Seam::load_monitor(*window).enabled());
  choose(0);  // the same entry chosen again is a new choice
  EXPECT_EQ(engine->calls.size(), 2u);
  // A finished load replaces typed text, and setting the text is no choice.
  test::Seam::address_box(*window).get_entry()->set_text("half-typ");
  engine->page_uri = "http://fake.test/reached";
  engine->finish_load();
  EXPECT_EQ(test::Seam::address_box(*window).get_entry()->get_text(), "http://fake.test/reached");
  EXPECT_EQ(engine->calls.size(), 2u);
  EXPECT_EQ(test::address_list(*window).size(), 2u);
}

constexpr auto kName = GTK_ACCESSIBLE_PROPERTY_LABEL;
constexpr auto kDescription = GTK_ACCESSIBLE_PROPERTY_DESCRIPTION;
using test::accessible_property;

TEST_F(Fixture, ScreenReaderHearsEveryControlNamedAndTheHotspotsAsButtons) {
  // A choice that requests nothing, so the monitor says "Done".
  test::Seam::address_box(*window).append("");
  choose(0);
  ASSERT_SOON(!test::Seam::load_monitor(*window).enabled());
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_EQ(test::unnamed_for_readers(*window), std::vector<std::string>{});
  // Every hot-spot is a button outside the Tab order.
  for (const auto& c : browser_layout::kControls)
    if (c.kind == browser_layout::Kind::Hotspot) {
      EXPECT_TRUE(gtk_test_accessible_has_role(
          GTK_ACCESSIBLE(test::Seam::control(*window, c.role).gobj()), GTK_ACCESSIBLE_ROLE_BUTTON))
          << c.id;
      EXPECT_FALSE(test::Seam::control(*window, c.role).get_focusable()) << c.id;
    }
  EXPECT_TRUE(gtk_test_accessible_has_role(
      GTK_ACCESSIBLE(test::Seam::control(*window, Role::Banner).gobj()), GTK_ACCESSIBLE_ROLE_IMG));
  EXPECT_EQ(accessible_property(*test::Seam::status_bar(*window).panel(2), kDescription), "Done");
}

TEST_F(Fixture, AScreenReadersPressRunsTheCommandWithoutThePointersHint) {
  gtk_widget_activate(test::Seam::control(*window, Role::BackButton).gobj());
  EXPECT_SOON(!engine->calls.empty());
  EXPECT_EQ(engine->calls, std::vector<std::string>{"back"});
  EXPECT_EQ(test::Seam::status_bar(*window).panel_text(1), "");
  window->activate_action("win.caret-browsing");
  window->activate_action("win.caret-browsing");
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"back", "caret:true", "caret:false"}));
}

TEST_F(Fixture, TheAddressListsRowsAreNamedByTheirAddressesAndChoosingOneIsAChoice) {
  enter("one.test");
  enter("two.test");
  engine->calls.clear();
  g_signal_emit_by_name(test::Seam::address_box(*window).gobj(), "popup");  // as the arrow does
  Gtk::ListBox& rows = test::Seam::address_popup(*window).rows();
  ASSERT_SOON(test::Seam::address_popup(*window).popover().get_mapped());
  EXPECT_EQ(accessible_property(*rows.get_row_at_index(0), kName), "one.test");
  EXPECT_EQ(accessible_property(*rows.get_row_at_index(1), kName), "two.test");
  EXPECT_EQ(test::unnamed_for_readers(test::Seam::address_popup(*window).popover()),
            std::vector<std::string>{});
  rows.get_row_at_index(1)->activate();
  EXPECT_EQ(engine->calls, std::vector<std::string>{"navigate:two.test"});
  EXPECT_SOON(!test::Seam::address_popup(*window).popover().get_mapped());
}

TEST_F(Fixture, AVeryLongAddressNeverMakesTheListWiderThanTheWindow) {
  enter(std::string(5000, 'w'));
  test::Seam::address_popup(*window).popup();
  ASSERT_SOON(test::Seam::address_popup(*window).popover().get_width() > 0);
  EXPECT_LE(test::Seam::address_popup(*window).popover().get_width(), window->get_width());
}

TEST_F(Fixture, ADownloadOfUnknownSizeShowsItsBytesAndOnlyAWholeOneIsToldAsSaved) {
  using Stage = DownloadEvent::Stage;
  auto& strip = test::Seam::download_strip(*window);
  engine->download({Stage::Progress, 1, "/tmp/dl/stream.bin", 1'500'000, 0, {}});
  EXPECT_EQ(test::accessible_property(strip, GTK_ACCESSIBLE_PROPERTY_DESCRIPTION),
            "stream.bin, 1.5 MB");
  engine->download({Stage::Cancelled, 1, "/tmp/dl/stream.bin", 1'500'000, 0, {}});
  EXPECT_FALSE(strip.get_visible());
  test::drain_events();
  EXPECT_EQ(test::shown_window("GtkMessageDialog"), nullptr);
  engine->download({Stage::Finished, 2, "/tmp/dl/whole.bin", 20, 20, {}});
  GtkWindow* told = nullptr;
  ASSERT_SOON((told = test::shown_window("GtkMessageDialog")));
  auto* dialog = dynamic_cast<Gtk::MessageDialog*>(Glib::wrap(told));
  EXPECT_EQ(dialog->property_text().get_value(), "Saved “whole.bin” in /tmp/dl.");
  EXPECT_NE(dialog->get_widget_for_response(1), nullptr);  // Open Folder
  EXPECT_EQ(dialog->get_transient_for(), window.get());
  dialog->response(Gtk::ResponseType::OK);
  EXPECT_SOON(test::shown_window("GtkMessageDialog") == nullptr);
}
