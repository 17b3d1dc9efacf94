// SPDX-License-Identifier: GPL-3.0-or-later
// The About window, opened from the browser window of a running application: how it looks, how it
// grows tick by tick, OK and the close box.
#include <gtest/gtest.h>
#include <gtkmm/headerbar.h>
#include <pangomm/attrlist.h>

#include <vector>

#include "app/application.h"
#include "core/twips.h"
#include "support/fake_engine.h"
#include "support/ui_support.h"
#include "windows/about/about_growth.h"
#include "windows/about/about_window.h"
#include "windows/browser/browser_window.h"
#include "windows/clock/clock_window.h"

using namespace vel;

namespace {

// One application for all the tests: a registered application cannot be taken back.
Glib::RefPtr<Application>& shared_app() {
  static Glib::RefPtr<Application> app = [] {
    auto a = Application::create({}, [] { return std::make_unique<test::FakeEngine>(); });
    a->register_application();
    return a;
  }();
  return app;
}

struct AboutFixture : ::testing::Test {
  AboutFixture() : app(shared_app()) {
    window = &app->show_browser_window();
    test::show_and_wait(*window);
    // Runs after the window's own handler: the size each tick left behind.
    tick_ = test::Seam::about_growth(*app).timer().signal_tick().connect([this] {
      if (AboutWindow* about = test::Seam::about_window(*app)) sizes.push_back(about->size_twips());
    });
  }
  ~AboutFixture() override {
    // Every test starts with no About window and the timer off.
    tick_.disconnect();
    test::Seam::about_growth(*app).timer().set_enabled(false);
    if (test::Seam::about_window(*app)) {
      test::Seam::about_window(*app)->close();
      test::run_until([&] { return test::Seam::about_window(*app) == nullptr; });
    }
  }

  void open_about() {
    input.click(*window, test::Seam::control(*window, test::Role::AboutSpot));
    ASSERT_SOON(test::Seam::about_window(*app) && test::Seam::about_window(*app)->get_mapped());
  }

  Glib::RefPtr<Application> app;
  BrowserWindow* window = nullptr;
  test::XInput input;
  std::vector<about::SizeTwips> sizes;
  sigc::connection tick_;
};

}  // namespace

TEST_F(AboutFixture, OpensModelessAndEachOpeningGrowsItFromItsMinimumToFullSize) {
  open_about();
  AboutWindow* about = test::Seam::about_window(*app);
  auto* title_bar = dynamic_cast<Gtk::HeaderBar*>(about->get_titlebar());
  ASSERT_NE(title_bar, nullptr);
  EXPECT_EQ(title_bar->get_decoration_layout(), ":close");  // no minimise, no maximise
  EXPECT_FALSE(about->get_modal());
  EXPECT_TRUE(
      gtk_test_accessible_has_role(GTK_ACCESSIBLE(about->gobj()), GTK_ACCESSIBLE_ROLE_DIALOG));
  EXPECT_EQ(about->get_focus(), &test::Seam::ok_button(*about));
  // A reader hears nothing unnamed: the texts and OK, the lines silent.
  EXPECT_EQ(test::unnamed_for_readers(*about), std::vector<std::string>{});
  // The rights notice is pure blue.
  char* attributes = pango_attr_list_to_string(test::Seam::notice(*about).get_attributes().gobj());
  EXPECT_STREQ(attributes, "0 4294967295 foreground #00000000ffff");
  g_free(attributes);
  EXPECT_TRUE(window->get_visible());

  // Zero is more than the window system allows: the title bar and frame are the least.
  const about::SizeTwips minimum = about->minimum_size();
  EXPECT_TRUE(minimum.width > 0 && minimum.height > 0);
  EXPECT_EQ(about->size_twips(), minimum);
  // Opened again while growing: the same window, still shown, starts over from its minimum and
  // grows (a step a tick: the rule has unit tests) until a side is full.
  ASSERT_SOON(sizes.size() >= 2);
  input.click(*window, test::Seam::control(*window, test::Role::AboutSpot));
  ASSERT_SOON(about->size_twips() == minimum);
  EXPECT_EQ(test::Seam::about_window(*app), about);
  EXPECT_TRUE(about->get_visible());
  ASSERT_SOON(!test::Seam::about_growth(*app).timer().enabled());
  const about::SizeTwips last = about->size_twips();
  EXPECT_TRUE(last.width >= 3000 || last.height >= 3000);
  // The window on the screen, frame and title bar included, has that size.
  EXPECT_TRUE(test::run_until([&] {
    auto surface = about->get_surface();
    return surface && surface->get_width() == twips_to_px(last.width) &&
           surface->get_height() == twips_to_px(last.height);
  }));
}

TEST_F(AboutFixture, OkHidesItAndItGoesOnGrowingHidden) {
  open_about();
  AboutWindow* about = test::Seam::about_window(*app);
  ASSERT_SOON(!test::Seam::about_growth(*app).timer().enabled());
  const float full_height = about->size_twips().height;
  sizes.clear();
  input.click(*about, test::Seam::ok_button(*about));
  ASSERT_SOON(!about->get_visible());
  EXPECT_TRUE(window->get_visible());
  EXPECT_EQ(test::Seam::about_window(*app), about);  // hidden, not destroyed
  EXPECT_EQ(about->requested_size().width, 0.0f);
  // Hidden, it grows on (one tick) until a side is full again; its height was full already.
  ASSERT_SOON(!test::Seam::about_growth(*app).timer().enabled());
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].height, full_height + about::kStepTwips);
  EXPECT_FALSE(about->get_visible());
  // Opening again shows the same window from zero.
  open_about();
  EXPECT_EQ(test::Seam::about_window(*app), about);
  EXPECT_EQ(about->size_twips(), about->minimum_size());
}

TEST_F(AboutFixture, CloseBoxRunsNoneOfOksStepsAndATickMakesAHiddenOne) {
  open_about();
  ASSERT_SOON(!test::Seam::about_growth(*app).timer().enabled());
  test::Seam::about_window(*app)->close();  // as the close box does
  ASSERT_SOON(test::Seam::about_window(*app) == nullptr);
  EXPECT_FALSE(test::Seam::about_growth(*app).timer().enabled());
  // A tick that finds no About window makes one, hidden, and sizes it.
  sizes.clear();
  test::Seam::about_growth(*app).timer().set_enabled(true);
  ASSERT_SOON(!sizes.empty());
  ASSERT_NE(test::Seam::about_window(*app), nullptr);
  EXPECT_FALSE(test::Seam::about_window(*app)->get_visible());
  // The next opening shows it.
  open_about();
  EXPECT_TRUE(test::Seam::about_window(*app)->get_visible());
}

TEST_F(AboutFixture, CtrlWClosesItAndTheClockAndCtrlQQuitsFromEither) {
  // Opened by their actions: the hot-spots that open them have tests of their own.
  const auto about = [&]() -> Gtk::Window& {
    app->activate_action("about");
    EXPECT_SOON(test::Seam::about_window(*app) != nullptr);
    return *test::Seam::about_window(*app);
  };
  const auto press_in = [&](Gtk::Window& shown, const char* key) {
    ASSERT_SOON(shown.get_mapped());
    input.focus(shown);
    input.press_key(key, {"Control_L"});
  };
  press_in(app->show_clock_window(), "w");
  ASSERT_SOON(test::Seam::clock_window(*app) == nullptr);
  press_in(about(), "w");
  ASSERT_SOON(test::Seam::about_window(*app) == nullptr);
  EXPECT_TRUE(window->get_visible());

  // The application's windows; what else the process has on the screen is not asked about.
  const auto all_hidden = [&] {
    for (Gtk::Window* shown : app->get_windows())
      if (shown->get_visible()) return false;
    return true;
  };
  press_in(app->show_clock_window(), "q");
  ASSERT_TRUE(test::run_until(all_hidden)) << "from the clock";
  test::show_and_wait(app->show_browser_window());
  press_in(about(), "q");
  ASSERT_TRUE(test::run_until(all_hidden)) << "from About";
}
