// SPDX-License-Identifier: GPL-3.0-or-later
// The vel-browser program under a Wayland compositor (weston, headless). A headless compositor
// takes no synthetic input, so the program is driven as a screen reader drives it, over the
// accessibility bus.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "support/atspi_reader.h"
#include "support/child_program.h"
#include "support/ui_support.h"

using namespace vel;
using namespace std::chrono_literals;

namespace {

// A weston of its own, headless, drawing in software, its socket in this run's runtime folder.
class Weston {
 public:
  Weston() : socket_("vel-wayland-" + std::to_string(getpid())) {
    const std::string path = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/" + socket_;
    const std::string socket_option = "--socket=" + socket_, log_option = "--log=" + path + ".log";
    pid_ = fork();
    if (pid_ == 0) {
      execlp("weston", "weston", "--backend=headless-backend.so", socket_option.c_str(),
             log_option.c_str(), "--idle-time=0", static_cast<char*>(nullptr));
      _exit(127);
    }
    struct stat info {};
    ready_ = test::run_until([&] { return stat(path.c_str(), &info) == 0; }, 30s);
  }
  ~Weston() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  bool ready() const { return ready_; }
  const std::string& socket() const { return socket_; }

 private:
  std::string socket_;
  pid_t pid_ = -1;
  bool ready_ = false;
};

}  // namespace

TEST(Wayland, APageIsShownARefreshReloadsItAndExitEndsTheProgram) {
  Weston weston;
  ASSERT_TRUE(weston.ready()) << "weston did not start";
  test::TestServer server;
  server.add_page("/first.html", test::titled_page("First"));
  std::vector<std::string> environment = test::kOnTheAccessibilityBus;
  environment.insert(environment.end(),
                     {"DISPLAY", "GDK_BACKEND=wayland", "WAYLAND_DISPLAY=" + weston.socket()});
  test::ChildProgram program({server.uri("/first.html")}, environment);
  test::Accessible window;
  ASSERT_TRUE(test::run_until(
                  [&] {
                    for (const auto& w : test::accessible_application(program.pid()).children())
                      if (w.role() == ATSPI_ROLE_FRAME && w.name() == "First - Vel ") window = w;
                    return bool(window) || program.exited();
                  },
                  60s) &&
              window)
      << "no window with the page's title";
  EXPECT_TRUE(test::run_until([&] { return server.requests("/first.html") == 1; }));

  ASSERT_TRUE(window.find(ATSPI_ROLE_PUSH_BUTTON, "Refresh").act("click"));
  EXPECT_TRUE(test::run_until([&] { return server.requests("/first.html") == 2; }));

  // The program may end before it answers.
  window.find(ATSPI_ROLE_PUSH_BUTTON, "Exit Browser").act("click");
  ASSERT_TRUE(test::run_until([&] { return program.exited(); }));
  ASSERT_TRUE(WIFEXITED(program.status())) << "status " << program.status();
  EXPECT_EQ(WEXITSTATUS(program.status()), 0);
}
