// The clock window: layout and pixels, the read-outs, the hand, and its life through the
// application (the browser window's Time Zone hot-spot, Back, the close box).
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <clocale>
#include <cmath>
#include <vector>

#include "app/application.h"
#include "browser/browser_layout.h"
#include "browser/browser_window.h"
#include "clock/form3.h"
#include "clock/form3_layout.h"
#include "support/fake_engine.h"
#include "support/ui_support.h"

// Last: Xlib's macros clash with names in the headers above.
#include <X11/Xlib.h>
#include <gdk/x11/gdkx.h>

using namespace vel;

namespace {

Glib::DateTime local(int y, int mo, int d, int h, int mi, double s) {
  return Glib::DateTime::create_local(y, mo, d, h, mi, s);
}

PixelRect rect_of(std::string_view name) {
  for (const auto& c : form3::kControls)
    if (c.name == name) return to_pixels(c.rect);
  throw std::runtime_error("no control " + std::string(name));
}

// What the X server shows of a window, as 8-bit RGB.
struct Pixels {
  int width = 0, height = 0;
  std::vector<unsigned long> data;  // 0xRRGGBB
  int ox = 0, oy = 0;               // the client area's origin in the window

  struct Rgb {
    int r, g, b;
  };
  // A pixel of the client area.
  Rgb at(int x, int y) const {
    const unsigned long p = data[static_cast<std::size_t>(y + oy) * width + (x + ox)];
    return {int(p >> 16 & 0xff), int(p >> 8 & 0xff), int(p & 0xff)};
  }
  static bool green(Rgb c) { return c.g > 120 && c.r < 90 && c.b < 90; }
  static bool dark(Rgb c) { return c.r < 80 && c.g < 80 && c.b < 80; }
  static bool white(Rgb c) { return c.r > 240 && c.g > 240 && c.b > 240; }
};

Pixels grab(Gtk::Window& window);

// Waits until the window has painted two more frames, so the screen shows its current state.
void wait_frames(Gtk::Window& window) {
  int frames = 0;
  window.add_tick_callback(
      [&frames](const Glib::RefPtr<Gdk::FrameClock>&) { return ++frames < 3; });
  window.queue_draw();
  EXPECT_TRUE(test::run_until([&] { return frames >= 3; }));
  test::drain_events();
}

Pixels grab(Gtk::Window& window) {
  Pixels out;
  out.width = window.get_width();
  out.height = window.get_height();
  double ox = 0, oy = 0;
  window.get_child()->translate_coordinates(window, 0, 0, ox, oy);
  out.ox = static_cast<int>(ox);
  out.oy = static_cast<int>(oy);
  Display* dpy = gdk_x11_display_get_xdisplay(window.get_display()->gobj());
  XSync(dpy, False);
  XImage* image = XGetImage(dpy, gdk_x11_surface_get_xid(window.get_surface()->gobj()), 0, 0,
                            out.width, out.height, AllPlanes, ZPixmap);
  if (!image) throw std::runtime_error("cannot read the window's pixels");
  out.data.resize(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.data[y * out.width + x] = XGetPixel(image, x, y);
  XDestroyImage(image);
  return out;
}

// Puts a window somewhere on the screen; with no window manager every window opens at (0, 0).
void move_window(Gtk::Window& window, int x, int y) {
  Display* dpy = gdk_x11_display_get_xdisplay(window.get_display()->gobj());
  XMoveWindow(dpy, gdk_x11_surface_get_xid(window.get_surface()->gobj()), x, y);
  XSync(dpy, False);
}

struct ClockFixture : ::testing::Test {
  ClockFixture() { std::setlocale(LC_TIME, "C.UTF-8"); }
  Glib::DateTime now = local(2024, 3, 7, 13, 5, 9.0);
  std::unique_ptr<Form3> window = std::make_unique<Form3>([this] { return now; });

  // Waits for `n` more ticks of a timer; the window's own handler has run when this returns.
  void wait_ticks(WindowTimer& timer, int n) {
    int ticks = 0;
    auto c = timer.signal_tick().connect([&] { ++ticks; });
    EXPECT_TRUE(test::run_until([&] { return ticks >= n; }));
    c.disconnect();
  }
};

TEST_F(ClockFixture, WindowAndReadouts) {
  // Before the first tick of Timer1 the read-outs are empty.
  EXPECT_EQ(window->Label2().get_text(), "");
  EXPECT_EQ(window->Label4().get_text(), "");
  EXPECT_EQ(window->get_title(), "Time Zone");
  EXPECT_EQ(window->get_icon_name(), "org.velbrowser.VelBrowser-clock");
  EXPECT_TRUE(window->get_decorated());
  EXPECT_TRUE(window->get_resizable());
  EXPECT_EQ(window->Timer1().interval(), 100u);
  EXPECT_EQ(window->Timer2().interval(), 1u);
  EXPECT_TRUE(window->Timer1().enabled());
  EXPECT_TRUE(window->Timer2().enabled());

  test::show_and_wait(*window);
  EXPECT_EQ(window->client_area().get_width(), 312);
  EXPECT_EQ(window->client_area().get_height(), 213);
  // Back has the focus; it is the only control that can take it.
  EXPECT_EQ(window->get_focus(), &window->Command1());
  for (const auto& c : form3::kControls) {
    if (c.kind == form3::Kind::Line) continue;
    Gtk::Widget* w = window->control(c.name);
    ASSERT_NE(w, nullptr) << c.name;
    // The border box: the button has padding and a border inside its rectangle.
    graphene_rect_t bounds;
    ASSERT_TRUE(
        gtk_widget_compute_bounds(w->gobj(), GTK_WIDGET(window->client_area().gobj()), &bounds));
    const PixelRect r = to_pixels(c.rect);
    EXPECT_EQ(int(bounds.origin.x), r.x) << c.name;
    EXPECT_EQ(int(bounds.origin.y), r.y) << c.name;
    EXPECT_EQ(int(bounds.size.width), r.width) << c.name;
    EXPECT_EQ(int(bounds.size.height), r.height) << c.name;
  }
  EXPECT_EQ(dynamic_cast<Gtk::Label*>(window->control("Label1"))->get_text(), "Local Time ");
  EXPECT_EQ(dynamic_cast<Gtk::Label*>(window->control("Label3"))->get_text(), "Date ");
  EXPECT_EQ(window->Command1().get_label(), "Back");

  wait_ticks(window->Timer1(), 1);
  EXPECT_EQ(window->Label2().get_text(), "13:05:09");
  EXPECT_EQ(window->Label4().get_text(), "03/07/24");

  // Just before midnight, then just after: the new date shows at the next tick.
  now = local(2024, 12, 31, 23, 59, 59.9);
  wait_ticks(window->Timer1(), 1);
  EXPECT_EQ(window->Label2().get_text(), "23:59:59");
  EXPECT_EQ(window->Label4().get_text(), "12/31/24");
  now = local(2025, 1, 1, 0, 0, 0.0);
  wait_ticks(window->Timer1(), 1);
  EXPECT_EQ(window->Label2().get_text(), "00:00:00");
  EXPECT_EQ(window->Label4().get_text(), "01/01/25");

  // A long text stays inside its box.
  window->Label4().set_text("a date far longer than the read-out box can hold");
  int min = 0, nat = 0, min_base = 0, nat_base = 0;
  window->Label4().measure(Gtk::Orientation::HORIZONTAL, -1, min, nat, min_base, nat_base);
  EXPECT_EQ(nat, rect_of("Label4").width);
}

TEST_F(ClockFixture, NumeralsAndHandShowOverTheFace) {
  test::show_and_wait(*window);
  wait_ticks(window->Timer1(), 1);
  // Let the hand leave 12 so that it crosses no numeral's column.
  EXPECT_TRUE(test::run_until([&] { return window->hand().HandAngle() > 50; }));
  // Hold the hand still so the screen and Line10 agree.
  window->Timer2().set_enabled(false);
  wait_frames(*window);
  const LineCoords hand = window->Line(10);
  const Pixels px = grab(*window);

  // The background and the white boxes of the read-outs.
  EXPECT_TRUE((px.at(300, 200).r == 192 && px.at(300, 200).g == 192 && px.at(300, 200).b == 255));
  const PixelRect time = rect_of("Label2");
  EXPECT_TRUE(Pixels::white(px.at(time.x + time.width - 2, time.y + time.height - 2)));

  // Every numeral shows green over the face.
  const PixelRect face = rect_of("Label5");
  for (int n = 6; n <= 17; ++n) {
    const PixelRect r = rect_of("Label" + std::to_string(n));
    int green = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x) green += Pixels::green(px.at(x, y));
    EXPECT_GT(green, 3) << "Label" << n;
  }
  // The face is white where nothing lies on it.
  EXPECT_TRUE(Pixels::white(px.at(face.x + 40, face.y + 40)));

  // The hand is dark along the line Line10 holds now, and the face is white across from it.
  const auto near_dark = [&](double x, double y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (Pixels::dark(px.at(int(x) + dx, int(y) + dy))) return true;
    return false;
  };
  for (double t : {0.2, 0.5, 0.8}) {
    const double x = (hand.X1 + t * (hand.X2 - hand.X1)) / 15;
    const double y = (hand.Y1 + t * (hand.Y2 - hand.Y1)) / 15;
    EXPECT_TRUE(near_dark(x, y)) << "hand at " << t;
    EXPECT_GE(x, face.x);
    EXPECT_LT(y, face.y + face.height);
    const double ax = (hand.X1 - t * (hand.X2 - hand.X1)) / 15;
    const double ay = (hand.Y1 - t * (hand.Y2 - hand.Y1)) / 15;
    EXPECT_FALSE(near_dark(ax, ay)) << "opposite the hand at " << t;
  }

  // The frame lies behind the face: its right outer line shows through the transparent "3".
  const PixelRect three = rect_of("Label9");
  EXPECT_TRUE(Pixels::dark(px.at(160, three.y + 2)));
  EXPECT_TRUE(Pixels::dark(px.at(160, 186)));
  EXPECT_TRUE(Pixels::dark(px.at(60, 192)));  // bottom outer
  EXPECT_TRUE(Pixels::dark(px.at(60, 81)));   // top inner
}

TEST_F(ClockFixture, HandKeepsSweepingWhileHidden) {
  test::show_and_wait(*window);
  window->hide();
  const double angle = window->hand().HandAngle();
  wait_ticks(window->Timer2(), 10);
  EXPECT_GE(window->hand().HandAngle(), angle + 10 * 0.4 - 1e-9);
  wait_ticks(window->Timer1(), 1);
  EXPECT_EQ(window->Label2().get_text(), "13:05:09");
  // Shown again, the hand is where it has swept to.
  test::show_and_wait(*window);
  window->Timer2().set_enabled(false);
  wait_frames(*window);
  const Pixels px = grab(*window);
  const LineCoords hand = window->Line(10);
  EXPECT_NE(hand.X2, 1320.0f);
  bool dark = false;
  const double x = (hand.X1 + 0.7 * (hand.X2 - hand.X1)) / 15;
  const double y = (hand.Y1 + 0.7 * (hand.Y2 - hand.Y1)) / 15;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) dark |= Pixels::dark(px.at(int(x) + dx, int(y) + dy));
  EXPECT_TRUE(dark);
}

// --- Through the application ------------------------------------------------------------------

struct AppFixture : ::testing::Test {
  AppFixture() {
    app = Application::create("", [] { return std::make_unique<test::FakeEngine>(); });
    app->register_application();
  }
  ~AppFixture() override { app->quit_program(); }
  // One application per program: its name is exported on the session bus.

  void click_time_zone() {
    BrowserWindow* browser = app->browser_window();
    ASSERT_NE(browser, nullptr);
    const PixelRect spot = to_pixels(
        browser_layout::kControls[browser_layout::index_of(browser_layout::Role::ClockSpot)].rect);
    input.move(*browser, spot.x + spot.width / 2, spot.y + spot.height / 2);
    input.click();
  }
  void click_back() {
    Form3* clock = app->form3();
    ASSERT_NE(clock, nullptr);
    const PixelRect back = rect_of("Command1");
    input.move(*clock, back.x + back.width / 2, back.y + back.height / 2);
    input.click();
  }
  // Opens the clock from the browser window and moves it clear of the hot-spot.
  Form3* open_clock() {
    const Form3* before = app->form3();
    click_time_zone();
    EXPECT_TRUE(test::run_until(
        [&] { return app->form3() && app->form3()->get_mapped() && app->form3()->get_visible(); }));
    Form3* clock = app->form3();
    if (clock && clock != before) {
      move_window(*clock, 700, 500);
      test::run_until([&] { return input.origin(*clock).first == 700; });
    }
    return clock;
  }

  Glib::RefPtr<Application> app;
  test::XInput input;
};

TEST_F(AppFixture, TimeZoneBackCloseAndANewBrowserWindow) {
  test::show_and_wait(app->show_browser_window());
  ASSERT_EQ(app->form3(), nullptr);

  // The hot-spot creates the clock window once; a second click finds the same one.
  Form3* clock = open_clock();
  ASSERT_NE(clock, nullptr);
  EXPECT_TRUE(app->browser_window()->get_visible());
  EXPECT_EQ(app->get_windows().size(), 2u);
  click_time_zone();
  test::run_until([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(app->form3(), clock);
  EXPECT_EQ(app->get_windows().size(), 2u);

  // Back hides the clock and keeps it; its hand goes on sweeping out of sight.
  click_back();
  ASSERT_TRUE(test::run_until([&] { return !clock->get_visible(); }));
  EXPECT_TRUE(app->browser_window()->get_visible());
  const double hidden_at = clock->hand().HandAngle();
  EXPECT_TRUE(test::run_until([&] { return clock->hand().HandAngle() > hidden_at + 8; }));

  // Shown again: the same window, the hand further on.
  EXPECT_EQ(open_clock(), clock);
  EXPECT_GT(clock->hand().HandAngle(), hidden_at + 8);

  // The close box destroys it; the next opening starts again at 12.
  clock->close();
  ASSERT_TRUE(test::run_until([&] { return app->form3() == nullptr; }));
  EXPECT_EQ(app->get_windows().size(), 1u);
  Form3& fresh = app->show_form3();
  EXPECT_EQ(fresh.hand().HandAngle(), 0.0);
  EXPECT_EQ(fresh.Line(10).X2, 1320.0f);
  EXPECT_EQ(fresh.Line(10).Y2, 1680.0f);
  EXPECT_EQ(fresh.hand().HandLength(), 360.0);
  move_window(fresh, 700, 500);
  test::run_until([&] { return input.origin(fresh).first == 700; });
  test::show_and_wait(fresh);
  clock = &fresh;

  // Back after the user closed the browser window creates a new one.
  app->browser_window()->close();
  ASSERT_TRUE(test::run_until([&] { return app->browser_window() == nullptr; }));

  click_back();
  ASSERT_TRUE(test::run_until(
      [&] { return app->browser_window() && app->browser_window()->get_mapped(); }));
  EXPECT_FALSE(clock->get_visible());
  EXPECT_EQ(app->form3(), clock);
  // The new browser window opens the same clock window again.
  test::show_and_wait(*app->browser_window());
  EXPECT_EQ(open_clock(), clock);
  EXPECT_TRUE(clock->get_visible());
}

}  // namespace
