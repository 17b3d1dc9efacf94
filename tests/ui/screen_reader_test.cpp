// SPDX-License-Identifier: GPL-3.0-or-later
// The vel-browser program as a screen reader hears it: read from another process, over the
// accessibility bus, as a reader reads it. Under a headless Wayland compositor, which takes no
// synthetic input, that is also how the program is driven.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/atspi_reader.h"
#include "support/child_program.h"
#include "support/ui_support.h"

using namespace vel;
using namespace std::chrono_literals;

namespace {

struct ScreenReader : ::testing::Test {
  // Starts the program on `address` and waits for its window, named by its caption.
  void start(const std::string& address, const std::string& caption,
             std::vector<std::string> environment = {}) {
    environment.insert(environment.end(), test::kOnTheAccessibilityBus.begin(),
                       test::kOnTheAccessibilityBus.end());
    program = std::make_unique<test::ChildProgram>(std::vector{address}, environment);
    window = window_called(ATSPI_ROLE_FRAME, caption);
  }
  // One of the program's windows (a child of the application), once it is there.
  test::Accessible window_called(AtspiRole role, const std::string& caption) {
    test::Accessible found;
    test::run_until(
        [&] {
          for (const auto& window : test::accessible_application(program->pid()).children())
            if (window.role() == role && window.name() == caption) found = window;
          return bool(found);
        },
        60s);
    return found;
  }
  // The page view, by the page's title: a group, which GTK 4.8 calls a panel.
  static test::Accessible page_view(const test::Accessible& window, const std::string& title) {
    return window.find([&](const test::Accessible& a) {
      return (a.role() == ATSPI_ROLE_GROUPING || a.role() == ATSPI_ROLE_PANEL) && a.name() == title;
    });
  }
  std::string windows() { return test::accessible_application(program->pid()).outline(); }

  test::TestServer server;
  std::unique_ptr<test::ChildProgram> program;
  test::Accessible window;
};

// A weston of its own, headless, drawing in software, its socket in this run's runtime folder.
struct Weston {
  const std::string socket = "vel-wayland-" + std::to_string(getpid());
  const std::string path = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/" + socket;
  test::ChildProgram weston{{"--backend=headless-backend.so", "--socket=" + socket,
                             "--log=" + path + ".log", "--idle-time=0"},
                            {},
                            "weston"};
  const bool ready = test::run_until([&] { return std::filesystem::exists(path); }, 30s);
};

}  // namespace

TEST_F(ScreenReader, ThePagesHeadingsParagraphsAndLinksAreUnderThePageViewAndALinkFollows) {
#if !GTK_CHECK_VERSION(4, 14, 0)
  GTEST_SKIP() << "GTK " << GTK_MAJOR_VERSION << "." << GTK_MINOR_VERSION
               << " does not carry a page's own objects to the accessibility bus (GTK 4.14 is "
                  "the first that does): on this system a reader cannot enter the page";
#endif
  server.add_page("/first.html",
                  test::titled_page("First",
                                    "<h1>Welcome aboard</h1><p>A paragraph to read.</p>"
                                    "<p><a href='/second.html'>On to the second</a></p>"));
  server.add_page("/second.html", test::titled_page("Second"));
  start(server.uri("/first.html"), "First - Vel ");
  ASSERT_TRUE(window) << windows();
  const auto view = page_view(window, "First");
  ASSERT_TRUE(view) << window.outline();
  // The engine builds the page's objects a moment after the load.
  test::Accessible link;
  test::run_until([&] { return bool(link = view.find(ATSPI_ROLE_LINK, "On to the second")); }, 30s);
  ASSERT_TRUE(link) << view.outline();
  EXPECT_TRUE(view.find(ATSPI_ROLE_HEADING, "Welcome aboard")) << view.outline();
  // A paragraph has no name of its own (the page's rules forbid one): a reader reads its text.
  EXPECT_TRUE(view.find([](const test::Accessible& a) {
    return a.role() == ATSPI_ROLE_PARAGRAPH && a.text() == "A paragraph to read.";
  })) << view.outline();
  EXPECT_TRUE(link.act(""));  // its first action, whatever the engine calls it
  // A followed link changes the page view's name; the caption waits for a monitored load.
  EXPECT_TRUE(test::run_until([&] { return view.name() == "Second"; }, 30s)) << view.name();
  EXPECT_EQ(server.requests("/second.html"), 1);
}

// Under Wayland: the page is shown with its title in the caption and on its view, Refresh asks
// for it again, and Exit ends the program with status 0.
TEST_F(ScreenReader, UnderWaylandAPageIsShownRefreshReloadsItAndExitEndsTheProgram) {
  Weston weston;
  ASSERT_TRUE(weston.ready) << "weston did not start";
  server.add_page("/first.html", test::titled_page("First"));
  start(server.uri("/first.html"), "First - Vel ",
        {"DISPLAY", "GDK_BACKEND=wayland", "WAYLAND_DISPLAY=" + weston.socket});
  ASSERT_TRUE(window) << windows();
  EXPECT_TRUE(page_view(window, "First")) << window.outline();  // named by the page's title
  EXPECT_EQ(server.requests("/first.html"), 1);
  ASSERT_TRUE(window.find(ATSPI_ROLE_PUSH_BUTTON, "Refresh").act("click"));
  EXPECT_SOON(server.requests("/first.html") == 2);
  // The program may end before it answers.
  window.find(ATSPI_ROLE_PUSH_BUTTON, "Exit Browser").act("click");
  EXPECT_EQ(program->ending(), "status 0");
}
