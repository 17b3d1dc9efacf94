// SPDX-License-Identifier: GPL-3.0-or-later
// What a desktop browser is expected to have beyond the window's design, driven by real keys:
// find in page, zoom, print and the window's own keys.
#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include <string>
#include <vector>

#include "support/engine_window.h"
#include "support/x_windows.h"

using namespace vel;

namespace {

struct Desktop : test::EngineWindow {
  Desktop() { input.focus(*window); }
};

}  // namespace

TEST_F(Desktop, FindCountsGoesRoundAndEscapeGivesThePageTheFocus) {
  // The page names the element holding the selection, where the engine puts each match.
  server.add_page("/find.html",
                  "<title>none</title><p id=a>apple</p><p id=b>An APPLE pie</p><p id=c>Apple</p>"
                  "<script>document.onselectionchange = () => "
                  "document.title = getSelection().anchorNode.parentElement.id;</script>");
  load([&] { engine().navigate(server.uri("/find.html")); });
  FindBar& bar = test::Seam::find_bar(*window);
  input.press_key("f", {"Control_L"});
  ASSERT_SOON(bar.get_mapped() && focus_in(bar.entry()));
  input.type("apple");
  EXPECT_SOON(bar.matches().get_text() == "3 matches") << bar.matches().get_text();
  EXPECT_SOON(title() == "a") << title();
  // Enter and F3 go on, Shift goes back, round the ends both ways.
  const std::vector<const char*> go_on, back{"Shift_L"};
  const std::tuple<const char*, const std::vector<const char*>&, const char*> steps[] = {
      {"Return", go_on, "b"}, {"Return", go_on, "c"}, {"Return", go_on, "a"}, {"F3", go_on, "b"},
      {"Return", back, "a"},  {"Return", back, "c"},  {"F3", back, "b"}};
  for (auto [key, mods, where] : steps) {
    input.press_key(key, mods);
    EXPECT_SOON(title() == where) << key << " " << title();
  }
  input.type("s");
  EXPECT_SOON(bar.matches().get_text() == "no matches");
  // Escape closes the bar and gives the page the focus.
  input.press_key("Escape");
  ASSERT_SOON(!bar.get_visible());
  EXPECT_TRUE(focus_in(engine().widget()));
  // F3 with nothing open opens the bar; a new page closes it.
  input.press_key("F3");
  ASSERT_SOON(bar.get_mapped() && focus_in(bar.entry()));
  load([&] { engine().navigate(server.uri("/find.html")); });
  EXPECT_FALSE(bar.get_visible());
}

TEST_F(Desktop, ZoomKeysAndTheWheelScaleThePageAndCtrl0Restores) {
  server.add_page("/box.html",
                  "<title>Box</title><body style='margin:0'>"
                  "<div style='width:200px;height:200px;background:#00ff00'></div>");
  load([&] { engine().navigate(server.uri("/box.html")); });
  // The box's area on the screen, in pixels, as the level says.
  auto box_is = [&](int percent) {
    const long side = 200 * percent / 100;
    return test::run_until(
        [&] { return test::count_pixels(window->get_title(), 0x00ff00) == side * side; });
  };
  ASSERT_TRUE(box_is(100)) << test::count_pixels(window->get_title(), 0x00ff00);
  // The level shows over the page; it may have gone again by the time the page is redrawn.
  std::vector<std::string> badges;
  sigc::connection badge_shown = test::Seam::zoom_badge(*window).signal_map().connect(
      [&] { badges.push_back(test::Seam::zoom_badge(*window).get_text()); });
  input.press_key("plus", {"Control_L", "Shift_L"});
  EXPECT_TRUE(box_is(110));
  badge_shown.disconnect();
  EXPECT_EQ(badges, std::vector<std::string>{"110 %"});
  input.press_key("equal", {"Control_L"});
  EXPECT_TRUE(box_is(125));
  for (int i = 0; i < 3; ++i) input.press_key("minus", {"Control_L"});
  EXPECT_TRUE(box_is(90));
  input.press_key("0", {"Control_L"});
  EXPECT_TRUE(box_is(100));
  // Ctrl and the wheel, over the page: up zooms in, down zooms out.
  point_at_page(300, 220);
  for (auto [button, percent] : {std::pair{4, 110}, std::pair{5, 100}}) {
    input.click(button, {"Control_L"});
    EXPECT_TRUE(box_is(percent));
  }
  // The level shows for a moment only.
  EXPECT_SOON(!test::Seam::zoom_badge(*window).get_visible());
}

TEST_F(Desktop, CtrlPOpensThePrintDialogOverTheWindowAndEscapeClosesIt) {
  server.add_page("/p.html", test::titled_page("Printed"));
  load([&] { engine().navigate(server.uri("/p.html")); });
  // The print dialog runs a loop of its own until it closes: it is answered from inside. It is
  // looked at through GTK's C interface only, as the engine destroys it.
  bool seen = false;
  auto answer = Glib::signal_timeout().connect(
      [&] {
        GtkWindow* dialog = test::shown_window("GtkPrintUnixDialog");
        if (!dialog) return true;
        input.focus(dialog);  // no window manager gives it the focus
        EXPECT_EQ(gtk_window_get_transient_for(dialog), window->gobj());
        seen = true;
        input.press_key("Escape");
        return false;
      },
      50);
  input.press_key("p", {"Control_L"});
  // Seen here, the dialog's own loop is over: the dialog has closed.
  EXPECT_SOON(seen);
  answer.disconnect();
  EXPECT_EQ(title(), "Printed");  // the page is as it was
}

TEST_F(Desktop, CtrlWClosesTheWindowAsItsCloseBoxWould) {
  window->set_hide_on_close(true);  // as the application has it
  input.press_key("w", {"Control_L"});
  EXPECT_SOON(!window->get_visible());
}
