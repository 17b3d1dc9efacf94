// The vel-browser program as a user starts it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>

#include "support/ui_support.h"
#include "support/x_windows.h"

using namespace vel;

namespace {

pid_t start_browser(const std::vector<std::string>& args) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv{const_cast<char*>(VEL_BROWSER_PATH)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(VEL_BROWSER_PATH, argv.data());
    _exit(127);
  }
  return pid;
}

bool window_named(const std::string& name) {
  const auto names = test::top_level_window_names();
  return std::find(names.begin(), names.end(), name) != names.end();
}

struct Program : ::testing::Test {
  ~Program() override {
    // The engine's processes end with the program that started them.
    if (pid > 0 && kill(pid, SIGTERM) == 0) waitpid(pid, nullptr, 0);
  }
  pid_t pid = -1;
  test::TestServer server;
};

}  // namespace

// The program as started from a desktop, where it chooses how it draws (without a GPU: no
// OpenGL in this process at all): the page is asked for once and really reaches the screen.
TEST_F(Program, AddressOnTheCommandLineIsDrawnWithItsTitleInTheCaption) {
  server.add_page("/green.html",
                  test::titled_page("Green", "<style>body{margin:0;background:#0f0}</style>"));
  pid = start_browser({server.uri("/green.html")});
  // The server runs in this process: the loop must turn while the program loads the page.
  ASSERT_TRUE(
      test::run_until([] { return window_named("Green - Vel "); }, std::chrono::seconds(60)));
  EXPECT_EQ(server.requests("/green.html"), 1);
  // Most of the view: it is about 640 x 360 pixels.
  EXPECT_TRUE(test::run_until([] { return test::count_pixels("Green - Vel ", 0x00ff00) > 150000; },
                              std::chrono::seconds(30)))
      << test::count_pixels("Green - Vel ", 0x00ff00) << " green pixels";
}

TEST_F(Program, WithoutAnAddressNothingIsRequested) {
  pid = start_browser({});
  ASSERT_TRUE(test::run_until([] { return window_named("Vel"); }, std::chrono::seconds(60)));
  EXPECT_EQ(server.total_requests(), 0);
}
