// SPDX-License-Identifier: GPL-3.0-or-later
// What sites store, across runs of the program as a user starts and ends it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/child_program.h"
#include "support/ui_support.h"
#include "support/x_windows.h"

using namespace vel;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::string read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct SiteData : ::testing::Test {
  SiteData() {
    std::string name = (fs::temp_directory_path() / "vel-home-XXXXXX").string();
    home = mkdtemp(name.data());
    cookies("/show", {});
    cookies("/set", {"kept=an-hour", "session=till-the-end"});
  }
  ~SiteData() override { fs::remove_all(home); }

  // A page that sets these cookies (the first for an hour, the others for the session) and is
  // titled by all the cookies it has then, in the order of their names ("none" for none).
  void cookies(const std::string& path, const std::vector<std::string>& set) {
    server.add_page(path,
                    "<script>document.title = document.cookie.split('; ').sort().join('; ') "
                    "|| 'none'</script>");
    for (std::size_t i = 0; i < set.size(); ++i)
      server.add_header(path, "Set-Cookie", set[i] + "; Path=/" + (i ? "" : "; Max-Age=3600"));
  }
  // Starts the program on `path` and waits for the caption that the page's title gives.
  std::unique_ptr<test::ChildProgram> start(const std::string& path, const std::string& title,
                                            const std::vector<std::string>& options = {}) {
    std::vector<std::string> args = options;
    args.push_back(server.uri(path));
    auto program = std::make_unique<test::ChildProgram>(
        args, std::vector<std::string>{"XDG_DATA_HOME=" + (home / "data").string(),
                                       "XDG_CACHE_HOME=" + (home / "cache").string()});
    EXPECT_TRUE(test::run_until(
        [&] { return !test::find_windows(title + " - Vel ", program->pid()).empty(); }, 60s))
        << "never the title " << title;
    return program;
  }
  void exit_by_click(test::ChildProgram& program, const std::string& title) {
    test::click_program_spot(input, title + " - Vel ", program.pid(), test::Role::ExitBrowserSpot,
                             [&] { return program.exited(); });
    EXPECT_EQ(program.ending(), "status 0");
  }

  fs::path home;
  test::TestServer server;
  test::XInput input;
};

}  // namespace

// A site's lasting cookie is there at the next start, whether the program ended by Exit or by the
// session's signal; a session cookie ends with the program.
TEST_F(SiteData, CookiesAreKeptUntilTheyExpireAndSessionCookiesEndWithTheProgram) {
  exit_by_click(*start("/set", "kept=an-hour; session=till-the-end"),
                "kept=an-hour; session=till-the-end");
  EXPECT_EQ(fs::status(home / "data/org.velbrowser.VelBrowser").permissions() & fs::perms::all,
            fs::perms::owner_all);
  cookies("/more", {"more=also"});
  auto second = start("/more", "kept=an-hour; more=also");
  kill(second->pid(), SIGTERM);
  EXPECT_EQ(second->ending(), "status 0");
  start("/show", "kept=an-hour; more=also");
}

// A private run sends its cookies while it runs, and leaves no file that holds them.
TEST_F(SiteData, APrivateRunKeepsNothing) {
  exit_by_click(*start("/set", "kept=an-hour; session=till-the-end", {"--private"}),
                "kept=an-hour; session=till-the-end");
  for (const auto& entry : fs::recursive_directory_iterator(home))
    EXPECT_FALSE(entry.is_regular_file() && read(entry.path()).find("an-hour") != std::string::npos)
        << entry.path();
  start("/show", "none");
}

// Two programs at once share the store: neither loses the other's cookies.
TEST_F(SiteData, TwoProgramsAtOnceShareTheStore) {
  cookies("/a", {"a=one"});
  cookies("/b", {"b=two"});
  auto a = start("/a", "a=one");
  auto b = start("/b", "a=one; b=two");
  for (auto* program : {a.get(), b.get()}) kill(program->pid(), SIGTERM);
  EXPECT_EQ(a->ending(), "status 0");
  EXPECT_EQ(b->ending(), "status 0");
  start("/show", "a=one; b=two");
}

// A data folder that cannot be made (a file has its name): the program starts, sites work, it
// says so once, and the file is left as it was.
TEST_F(SiteData, AnUnwritableDataFolderKeepsNothingAndSaysSo) {
  fs::create_directories(home / "data");
  std::ofstream(home / "data/org.velbrowser.VelBrowser") << "in the way";
  auto run = start("/set", "kept=an-hour; session=till-the-end");
  EXPECT_SOON(test::find_windows("Vel Browser", run->pid()).size() == 1);
  kill(run->pid(), SIGTERM);
  EXPECT_EQ(run->ending(), "status 0");
  EXPECT_EQ(read(home / "data/org.velbrowser.VelBrowser"), "in the way");
}
