// SPDX-License-Identifier: GPL-3.0-or-later
// The vel-browser program under a headless Wayland compositor, read and driven from another
// process over the accessibility bus as a screen reader does it (the compositor takes no
// synthetic input).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/atspi_reader.h"
#include "support/child_program.h"
#include "support/ui_support.h"

using namespace vel;
using namespace std::chrono_literals;

namespace {

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

// The program's window of that caption (a child of the application), once it is there.
test::Accessible window_called(pid_t pid, const std::string& caption) {
  test::Accessible found;
  test::run_until(
      [&] {
        for (const auto& window : test::accessible_application(pid).children())
          if (window.role() == ATSPI_ROLE_FRAME && window.name() == caption) found = window;
        return bool(found);
      },
      60s);
  return found;
}

}  // namespace

// Under Wayland: the page is shown with its title in the caption and on its view, Refresh asks
// for it again, the page's question then is an alert dialog with the page's words, answered from
// there, and Exit ends the program with status 0.
TEST(ScreenReader, UnderWaylandAPageIsShownRefreshReloadsItItsQuestionIsHeardAndExitEnds) {
  Weston weston;
  ASSERT_TRUE(weston.ready) << "weston did not start";
  test::TestServer server;
  server.add_page("/first.html",
                  test::titled_page("First",
                                    "<script>if (sessionStorage.seen) setTimeout(() => "
                                    "{ alert('Hello, reader'); document.title = 'Answered'; "
                                    "}); sessionStorage.seen = 1</script>"));
  std::vector<std::string> environment{"DISPLAY", "GDK_BACKEND=wayland",
                                       "WAYLAND_DISPLAY=" + weston.socket};
  environment.insert(environment.end(), test::kOnTheAccessibilityBus.begin(),
                     test::kOnTheAccessibilityBus.end());
  test::ChildProgram program({server.uri("/first.html")}, environment);
  const test::Accessible window = window_called(program.pid(), "First - Vel ");
  ASSERT_TRUE(window) << test::accessible_application(program.pid()).outline();
  // The page view, named by the page's title: a group, which GTK 4.8 calls a panel.
  const auto view_named = [&](const std::string& name) {
    return bool(window.find([&](const test::Accessible& a) {
      return (a.role() == ATSPI_ROLE_GROUPING || a.role() == ATSPI_ROLE_PANEL) && a.name() == name;
    }));
  };
  EXPECT_TRUE(view_named("First")) << window.outline();
  EXPECT_EQ(server.requests("/first.html"), 1);
  ASSERT_TRUE(window.find(ATSPI_ROLE_PUSH_BUTTON, "Refresh").act("click"));
  EXPECT_SOON(server.requests("/first.html") == 2);
  test::Accessible dialog;
  EXPECT_SOON(dialog = window.find([](const test::Accessible& a) {
    return (a.role() == ATSPI_ROLE_ALERT || a.role() == ATSPI_ROLE_DIALOG) &&
           a.name() == "Message from the page";
  })) << window.outline();
  EXPECT_TRUE(dialog.find(ATSPI_ROLE_LABEL, "Hello, reader")) << dialog.outline();
  ASSERT_TRUE(dialog.find(ATSPI_ROLE_PUSH_BUTTON, "OK").act("click")) << dialog.outline();
  EXPECT_SOON(view_named("Answered")) << window.outline();
  // The program may end before it answers.
  window.find(ATSPI_ROLE_PUSH_BUTTON, "Exit Browser").act("click");
  EXPECT_EQ(program.ending(), "status 0");
}
