// SPDX-License-Identifier: GPL-3.0-or-later
// The vel-browser program as a user starts it.
#include <glibmm/fileutils.h>
#include <gtest/gtest.h>

#include <functional>

#include "support/child_program.h"
#include "support/processes.h"
#include "support/ui_support.h"
#include "support/x_windows.h"
#include "toolkit/graphics.h"
#include "windows/browser/browser_layout.h"

using namespace vel;

// The program as started from a desktop, where it chooses how it draws (without a GPU: no
// OpenGL in this process at all): the page is asked for once and really reaches the screen. The
// desktop knows each window as the program's by the id of its desktop entry. A page's question
// waits all along, inside the page: the clock, About and Exit work as ever.
TEST(Program, ThePageIsDrawnAndExitEndsItWithEveryWindowOpenAndTheDesktopKnowsEachWindow) {
  test::TestServer server;
  server.add_page(
      "/green.html",
      test::titled_page("Green",
                        "<style>body{margin:0;background:#0f0}</style>"
                        "<div style='margin:40px;width:100px;height:80px;background:#00f'>"
                        "</div><script>onclick = () => alert('Still there?')</script>"));
  test::ChildProgram program({server.uri("/green.html")});
  const char* caption = "Green - Vel ";
  // The server runs in this process: the loop must turn while the program loads the page.
  ASSERT_TRUE(
      test::run_until([&] { return test::find_window(caption); }, std::chrono::seconds(60)));
  EXPECT_EQ(server.requests("/green.html"), 1);
  // Most of the view (it is about 640 x 360 pixels), and the blue box pixel for pixel: whole, no
  // larger, its colour unchanged.
  const auto green = [&] { return test::count_pixels(caption, 0x00ff00); };
  const auto blue = [&] { return test::count_pixels(caption, 0x0000ff); };
  EXPECT_TRUE(test::run_until([&] { return green() > 150000 && blue() == 100 * 80; },
                              std::chrono::seconds(30)))
      << green() << " green pixels, " << blue() << " blue";
  // Drawn so with the page's process as the program's own: kept off OpenGL where there is no GPU.
  std::string environment(1, '\0');  // its variables, each between two NULs
  for (const auto& [pid, process] : test::process_tree(program.pid()))
    if (process.name == "WebKitWebProces")
      environment += Glib::file_get_contents("/proc/" + std::to_string(pid) + "/environ");
  const std::string off = std::string(1, '\0') + kGtkWithoutGl.variable + "=" + kGtkWithoutGl.flag;
  EXPECT_EQ(environment.find(off + '\0') != std::string::npos, !gpu_render_node_present());
  const auto exited = [&] { return program.exited(); };
  test::XInput input;
  const auto click_until = [&](test::Role role, const std::function<bool()>& effect) {
    return test::click_program_spot(input, caption, program.pid(), role, effect);
  };
  // A click in the page asks the question: its card, white, over the page.
  ASSERT_TRUE(click_until(browser_layout::Role::PageView,
                          [&] { return test::count_pixels(caption, 0xffffff) > 20000; }));
  EXPECT_TRUE(
      click_until(browser_layout::Role::ClockSpot, [] { return test::find_window("Time Zone"); }));
  EXPECT_TRUE(click_until(browser_layout::Role::AboutSpot,
                          [] { return test::find_window("About Vel Browser"); }));
  for (const char* title : {caption, "Time Zone", "About Vel Browser"}) {
    EXPECT_EQ(test::window_class(test::find_window(title)),
              "org.velbrowser.VelBrowser/org.velbrowser.VelBrowser")
        << title;
    // An icon of 16 x 16 at least.
    EXPECT_GE(test::icon_numbers(test::find_window(title)), 2u + 16 * 16) << title;
  }
  ASSERT_TRUE(click_until(browser_layout::Role::ExitBrowserSpot, exited));
  EXPECT_EQ(program.ending(), "status 0");
  EXPECT_FALSE(test::find_window(caption));
  EXPECT_FALSE(test::find_window("About Vel Browser"));
}
