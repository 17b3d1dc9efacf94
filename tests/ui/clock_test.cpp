// SPDX-License-Identifier: GPL-3.0-or-later
// The clock window: layout and pixels, the read-outs, the hand, and its life through the
// application (the browser window's Time Zone hot-spot, Back, the close box).
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <clocale>
#include <memory>
#include <tuple>
#include <vector>

#include "app/application.h"
#include "support/fake_engine.h"
#include "support/ui_support.h"
#include "support/x_windows.h"
#include "windows/browser/browser_window.h"
#include "windows/clock/clock_layout.h"
#include "windows/clock/clock_window.h"

using namespace vel;

namespace {

constexpr PixelRect kFace = to_pixels(clock_layout::control("face").rect);

// What the X server shows of a window's client area, as 8-bit RGB.
struct Pixels {
  struct Rgb {
    int r, g, b;
  };
  test::WindowPixels window;
  int ox = 0, oy = 0;  // the client area's origin in the window

  Rgb at(int x, int y) const {
    const unsigned long p = window.at(x + ox, y + oy);
    return {int(p >> 16 & 0xff), int(p >> 8 & 0xff), int(p & 0xff)};
  }
  static bool green(Rgb c) { return c.g > 120 && c.r < 90 && c.b < 90; }
  static bool dark(Rgb c) { return c.r < 80 && c.g < 80 && c.b < 80; }
  static bool white(Rgb c) { return c.r > 240 && c.g > 240 && c.b > 240; }
  bool dark_near(double x, double y) const {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (dark(at(int(x) + dx, int(y) + dy))) return true;
    return false;
  }
  // The hand's pixels show along `line`, and not along its reflection through the centre.
  void expect_hand_along(const LineCoords& line) const {
    for (double t : {0.2, 0.5, 0.8}) {
      const double dx = t * (line.X2 - line.X1) / kTwipsPerPixel,
                   dy = t * (line.Y2 - line.Y1) / kTwipsPerPixel;
      EXPECT_TRUE(dark_near(line.X1 / kTwipsPerPixel + dx, line.Y1 / kTwipsPerPixel + dy))
          << "hand at " << t;
      EXPECT_FALSE(dark_near(line.X1 / kTwipsPerPixel - dx, line.Y1 / kTwipsPerPixel - dy))
          << "opposite at " << t;
    }
  }
};

// Holds the hand still, waits until the window has painted two more frames, and reads them.
Pixels grab(ClockWindow& window) {
  test::Seam::hand_timer(window).set_enabled(false);
  int frames = 0;
  window.add_tick_callback([&](const Glib::RefPtr<Gdk::FrameClock>&) { return ++frames < 3; });
  window.queue_draw();
  EXPECT_SOON(frames >= 3);
  test::drain_events();

  double ox = 0, oy = 0;
  window.get_child()->translate_coordinates(window, 0, 0, ox, oy);
  window.get_display()->sync();  // what the toolkit drew has reached the X server
  return {test::window_pixels(test::x_window(window)), int(ox), int(oy)};
}

struct ClockFixture : ::testing::Test {
  ClockFixture() { std::setlocale(LC_TIME, "C.UTF-8"); }
  Glib::DateTime now = Glib::DateTime::create_local(2024, 3, 7, 13, 5, 9.0);
  std::unique_ptr<ClockWindow> window = std::make_unique<ClockWindow>([this] { return now; });

  // Waits for the next tick of a timer; the window's own handler has run when this returns.
  void wait_tick(WindowTimer& timer) {
    bool ticked = false;
    auto c = timer.signal_tick().connect([&] { ticked = true; });
    EXPECT_SOON(ticked);
    c.disconnect();
  }
};

TEST_F(ClockFixture, StandsAtItsSizeWithBackFocusedOnItsRectangle) {
  test::show_and_wait(*window);
  EXPECT_EQ(test::Seam::client_area(*window).get_width(), 312);
  EXPECT_EQ(test::Seam::client_area(*window).get_height(), 213);
  // Back has the focus; it is the only control that can take it.
  EXPECT_EQ(window->get_focus(), &test::Seam::back_button(*window));
  // Back's 3720, 120, 855, 375 twips, worked out by hand; its padding and border lie inside.
  graphene_rect_t b;
  ASSERT_TRUE(gtk_widget_compute_bounds(GTK_WIDGET(test::Seam::back_button(*window).gobj()),
                                        GTK_WIDGET(test::Seam::client_area(*window).gobj()), &b));
  EXPECT_EQ(std::tuple(int(b.origin.x), int(b.origin.y), int(b.size.width), int(b.size.height)),
            std::tuple(248, 8, 57, 25));
  // A long text stays inside its box of 1335 twips.
  test::Seam::date_readout(*window).set_text("a date far longer than the read-out box can hold");
  int min = 0, nat = 0, min_base = 0, nat_base = 0;
  test::Seam::date_readout(*window).measure(Gtk::Orientation::HORIZONTAL, -1, min, nat, min_base,
                                            nat_base);
  EXPECT_EQ(nat, 89);
}

// The read-outs, heard by their captions, and the dial, heard as an image of the time.
TEST_F(ClockFixture, ReadoutsAreEmptyUntilTheFirstTickEachTickReadsTheClockAndReadersHearThem) {
  Gtk::Label &time = test::Seam::time_readout(*window), &date = test::Seam::date_readout(*window);
  EXPECT_EQ(time.get_text() + date.get_text(), "");
  test::show_and_wait(*window);
  EXPECT_EQ(test::unnamed_for_readers(*window), std::vector<std::string>{});
  Gtk::Widget& face = *test::Seam::widget(*window, clock_layout::index_of("face"));
  EXPECT_TRUE(gtk_test_accessible_has_role(GTK_ACCESSIBLE(face.gobj()), GTK_ACCESSIBLE_ROLE_IMG));
  char* caption = gtk_test_accessible_check_relation(
      GTK_ACCESSIBLE(time.gobj()), GTK_ACCESSIBLE_RELATION_LABELLED_BY,
      test::Seam::widget(*window, clock_layout::index_of("time-caption"))->gobj(), nullptr);
  EXPECT_EQ(caption, nullptr);
  g_free(caption);
  wait_tick(test::Seam::readout_timer(*window));
  EXPECT_EQ(time.get_text(), "13:05:09");
  EXPECT_EQ(date.get_text(), "03/07/24");
  EXPECT_EQ(test::accessible_property(face, GTK_ACCESSIBLE_PROPERTY_DESCRIPTION), "13:05:09");
  // Past midnight the new date shows with the new time.
  now = Glib::DateTime::create_local(2025, 1, 1, 0, 0, 0.0);
  wait_tick(test::Seam::readout_timer(*window));
  EXPECT_EQ(time.get_text(), "00:00:00");
  EXPECT_EQ(date.get_text(), "01/01/25");
}

TEST_F(ClockFixture, TheScreenShowsTheFaceTheNumeralsTheHandAndTheFrameBehind) {
  test::show_and_wait(*window);
  // Let the hand leave 12 so that it crosses no numeral's column.
  EXPECT_SOON(test::Seam::hand(*window).angle() > 50);
  const Pixels px = grab(*window);

  // The background and the white box of a read-out.
  const Pixels::Rgb background = px.at(300, 200);
  EXPECT_TRUE(background.r == 192 && background.g == 192 && background.b == 255);
  const PixelRect time = to_pixels(clock_layout::control("time-readout").rect);
  EXPECT_TRUE(Pixels::white(px.at(time.x + time.width - 2, time.y + time.height - 2)));

  // Every numeral shows green over the face.
  for (const clock_layout::Control& c : clock_layout::kControls) {
    if (!c.role.starts_with("numeral-")) continue;
    const PixelRect r = to_pixels(c.rect);
    int green = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x) green += Pixels::green(px.at(x, y));
    EXPECT_GT(green, 3) << c.role;
  }
  // The face is white where nothing lies on it; the hand lies on it.
  EXPECT_TRUE(Pixels::white(px.at(kFace.x + 40, kFace.y + 40)));
  px.expect_hand_along(test::Seam::hand_line(*window));

  // The frame lies behind the face: its right outer line shows through the transparent "3".
  const PixelRect three = to_pixels(clock_layout::control("numeral-3").rect);
  EXPECT_TRUE(Pixels::dark(px.at(160, three.y + 2)));
  EXPECT_TRUE(Pixels::dark(px.at(160, 186)));
  EXPECT_TRUE(Pixels::dark(px.at(60, 192)));  // bottom outer
  EXPECT_TRUE(Pixels::dark(px.at(60, 81)));   // top inner
}

// --- Through the application ------------------------------------------------------------------

struct AppFixture : ::testing::Test {
  AppFixture() {
    app = Application::create("", [] { return std::make_unique<test::FakeEngine>(); });
    app->register_application();
  }
  // One application per program: its name is exported on the session bus.
  ~AppFixture() override { app->quit_program(); }

  void click_time_zone() {
    test::click_control(input, *test::Seam::browser_window(*app), browser_layout::Role::ClockSpot);
  }
  void click_back() {
    input.click(*test::Seam::clock_window(*app),
                test::Seam::back_button(*test::Seam::clock_window(*app)));
  }
  // Opens the clock from the browser window and moves it clear of the hot-spot.
  ClockWindow* open_clock() {
    const ClockWindow* before = test::Seam::clock_window(*app);
    click_time_zone();
    EXPECT_SOON(test::Seam::clock_window(*app) && test::Seam::clock_window(*app)->get_mapped() &&
                test::Seam::clock_window(*app)->get_visible());
    ClockWindow* clock = test::Seam::clock_window(*app);
    if (clock && clock != before) input.move_window(*clock, 700, 500);
    return clock;
  }

  Glib::RefPtr<Application> app;
  test::XInput input;
};

TEST_F(AppFixture, TimeZoneBackCloseAndANewBrowserWindow) {
  test::show_and_wait(app->show_browser_window());
  ASSERT_EQ(test::Seam::clock_window(*app), nullptr);

  // The hot-spot creates the clock window once; a second click finds the same one.
  ClockWindow* clock = open_clock();
  ASSERT_NE(clock, nullptr);
  EXPECT_TRUE(test::Seam::browser_window(*app)->get_visible());
  // The clock action's own handler has run when this one does.
  bool handled = false;
  auto action = std::dynamic_pointer_cast<Gio::SimpleAction>(app->lookup_action("clock"));
  action->signal_activate().connect([&](const Glib::VariantBase&) { handled = true; });
  click_time_zone();
  ASSERT_SOON(handled);
  EXPECT_EQ(test::Seam::clock_window(*app), clock);
  EXPECT_EQ(app->get_windows().size(), 2u);

  // Back hides the clock and keeps it; its hand goes on sweeping out of sight, far enough that
  // a hand still drawn where it was hidden would show on other pixels.
  click_back();
  ASSERT_SOON(!clock->get_visible());
  EXPECT_TRUE(test::Seam::browser_window(*app)->get_visible());
  const double hidden_at = test::Seam::hand(*clock).angle();
  EXPECT_SOON(test::Seam::hand(*clock).angle() > hidden_at + 20);

  // Shown again: the same window, the hand drawn where it has swept to.
  EXPECT_EQ(open_clock(), clock);
  EXPECT_TRUE(test::Seam::readout_timer(*clock).enabled());
  grab(*clock).expect_hand_along(test::Seam::hand_line(*clock));

  // The close box destroys it; the next opening starts again at 12.
  clock->close();
  ASSERT_SOON(test::Seam::clock_window(*app) == nullptr);
  EXPECT_EQ(app->get_windows().size(), 1u);
  ClockWindow& fresh = app->show_clock_window();
  EXPECT_EQ(test::Seam::hand(fresh).angle(), 0.0);
  input.move_window(fresh, 700, 500);
  test::show_and_wait(fresh);

  // Back after the user closed the browser window creates a new one.
  test::Seam::browser_window(*app)->close();
  ASSERT_SOON(test::Seam::browser_window(*app) == nullptr);
  click_back();
  ASSERT_SOON(test::Seam::browser_window(*app) && test::Seam::browser_window(*app)->get_mapped());
  EXPECT_FALSE(fresh.get_visible());
  EXPECT_EQ(test::Seam::clock_window(*app), &fresh);
  // The new browser window opens the same clock window again.
  test::show_and_wait(*test::Seam::browser_window(*app));
  EXPECT_EQ(open_clock(), &fresh);
  EXPECT_TRUE(fresh.get_visible());
}

}  // namespace
