// SPDX-License-Identifier: GPL-3.0-or-later
// Downloads as the user sees them: the status bar's count of those under way, Cancel by pointer and
// by keyboard, "Saved" only for a whole file, a failure said as one, and no partial file under a
// file's name, also when the program is ended while one runs. The files come from a server on
// 127.0.0.1 that trickles them, cuts one off, or suggests odd names.
#include <gtest/gtest.h>
#include <gtkmm/messagedialog.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "support/child_program.h"
#include "support/engine_window.h"

using namespace vel;
namespace fs = std::filesystem;

namespace {

// A file that takes half a minute to arrive: long enough to be cancelled on the way.
constexpr std::size_t kSlowSize = 6'000'000;

struct Downloads : test::EngineWindow {
  Downloads() : dir(g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD)) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    server.add_page("/page.html", test::titled_page("Page"));
    load([&] { engine().navigate(server.uri("/page.html")); });
  }
  void add_slow(const std::string& path) {
    server.add_download(path, kSlowSize, kSlowSize, 10'000, 50);
  }

  DownloadStrip& strip() { return test::Seam::download_strip(*window); }
  // What the status bar says of the downloads under way: "" while it says nothing.
  std::string shown() {
    if (!strip().get_visible()) return {};
    auto* what = dynamic_cast<Gtk::Label*>(strip().get_first_child());
    return what->get_text() + " " +
           std::string(dynamic_cast<Gtk::Label*>(what->get_next_sibling())->get_text());
  }
  Gtk::Widget& cancel_button() { return *strip().get_last_child(); }
  // The names in the download folder, sorted.
  std::vector<std::string> files() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The message shown about a download's end: its text and secondary text.
  std::pair<std::string, std::string> told() {
    Gtk::MessageDialog* dialog = nullptr;
    EXPECT_SOON((dialog = dynamic_cast<Gtk::MessageDialog*>(
                     Glib::wrap(test::shown_window("GtkMessageDialog")))));
    if (!dialog) return {};
    std::pair<std::string, std::string> texts{dialog->property_text().get_value(),
                                              dialog->property_secondary_text().get_value()};
    dialog->response(Gtk::ResponseType::OK);
    EXPECT_SOON(test::shown_window("GtkMessageDialog") == nullptr);
    return texts;
  }

  fs::path dir;
};

using Names = std::vector<std::string>;

TEST_F(Downloads, TheStatusBarShowsHowFarTheyHaveGotAndCancelLeavesNothing) {
  auto& bar = test::Seam::status_bar(*window);
  bar.set_panel_text(1, "a hint");
  const std::string status = bar.panel_text(2), date = bar.panel_text(3);
  add_slow("/slow.bin");
  engine().navigate(server.uri("/slow.bin"));
  // The name and the share done, and the same for a screen reader; the panels keep their texts.
  ASSERT_SOON(std::regex_match(shown(), std::regex("slow\\.bin [1-9][0-9]?%"))) << shown();
  const std::string said = shown();
  EXPECT_EQ(test::accessible_property(strip(), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION),
            "slow.bin, " + said.substr(said.find(' ') + 1));
  EXPECT_EQ(test::accessible_property(cancel_button(), GTK_ACCESSIBLE_PROPERTY_LABEL),
            "Cancel the download of slow.bin");
  EXPECT_EQ(bar.panel_text(1), "a hint");
  EXPECT_EQ(std::string(bar.panel_text(2)), status);
  EXPECT_EQ(std::string(bar.panel_text(3)), date);
  // Not under its name until whole (the engine writes beside the name it is given, and moves
  // its file there at the end).
  for (const std::string& name : files()) EXPECT_TRUE(name.starts_with("slow.bin.part")) << name;

  input.click(*window, cancel_button());
  ASSERT_SOON(shown().empty());
  EXPECT_SOON(files().empty());           // the engine's own file beside ours goes a moment later
  EXPECT_EQ(test::visible_windows(), 1);  // a cancel is not announced
  EXPECT_EQ(title(), "Page");

  // Two at once: their count and overall share; Ctrl+Shift+Y, then Space, cancels them.
  add_slow("/one.bin");
  add_slow("/two.bin");
  engine().navigate(server.uri("/one.bin"));
  ASSERT_SOON(shown().starts_with("one.bin "));
  engine().navigate(server.uri("/two.bin"));
  ASSERT_SOON(std::regex_match(shown(), std::regex("2 downloads [0-9]+%"))) << shown();
  EXPECT_EQ(test::accessible_property(cancel_button(), GTK_ACCESSIBLE_PROPERTY_LABEL),
            "Cancel the 2 downloads");
  input.press_key("y", {"Control_L", "Shift_L"});
  ASSERT_SOON(cancel_button().has_focus());
  input.press_key("space");
  ASSERT_SOON(shown().empty());
  EXPECT_SOON(files().empty());
  EXPECT_TRUE(engine().widget().has_focus());  // the keyboard is back in the page
}

TEST_F(Downloads, OnlyAWholeFileIsSavedAndOneCutOffIsToldAsFailed) {
  // A file of that name is there already, and the site suggests a path.
  std::ofstream(dir / "report.bin") << "older file";
  server.add_page("/file", std::string(5000, 'a'), "application/octet-stream");
  server.add_header("/file", "Content-Disposition", "attachment; filename=\"../report.bin\"");
  engine().navigate(server.uri("/file"));
  EXPECT_EQ(told().first, "Saved “report (1).bin” in " + dir.string() + ".");
  EXPECT_EQ(files(), (Names{"report (1).bin", "report.bin"}));
  EXPECT_EQ(fs::file_size(dir / "report (1).bin"), 5000u);
  EXPECT_EQ(fs::file_size(dir / "report.bin"), 10u);

  // 1 MiB of a promised 2 MiB, and the connection closes.
  server.add_download("/halfway.bin", 2u << 20, 1u << 20, 64u << 10, 5);
  engine().navigate(server.uri("/halfway.bin"));
  const auto [text, why] = told();
  EXPECT_EQ(text, "“halfway.bin” was not downloaded.");
  EXPECT_EQ(why, "The server stopped after 1.0 MB of 2.1 MB. What had arrived was removed.");
  EXPECT_EQ(files(), (Names{"report (1).bin", "report.bin"}));
  EXPECT_TRUE(shown().empty());
  EXPECT_EQ(title(), "Page");

  // A download folder that cannot be made, as a file is in its way: said, and nothing written.
  const fs::path dirs = fs::path(g_get_user_config_dir()) / "user-dirs.dirs";
  std::ofstream(dir / "in the way") << "a file";
  std::ofstream(dirs) << "XDG_DOWNLOAD_DIR=\"" << (dir / "in the way" / "sub").string() << "\"\n";
  g_reload_user_special_dirs_cache();
  engine().navigate(server.uri("/file"));
  const auto [not_written, where] = told();
  std::ofstream(dirs) << "XDG_DOWNLOAD_DIR=\"" << dir.string() << "\"\n";
  g_reload_user_special_dirs_cache();
  EXPECT_EQ(not_written, "“report.bin” was not downloaded.");
  EXPECT_TRUE(where.starts_with("It could not be written in " + (dir / "in the way").string()))
      << where;
  EXPECT_EQ(files(), (Names{"in the way", "report (1).bin", "report.bin"}));
}

TEST_F(Downloads, EndingTheProgramMidwayLeavesNoFile) {
  add_slow("/slow.bin");
  test::ChildProgram program({server.uri("/slow.bin")});
  ASSERT_SOON(files().size() == 2);  // the partial file and the engine's beside it
  kill(program.pid(), SIGTERM);
  EXPECT_EQ(program.ending(), "status 0");
  EXPECT_EQ(files(), Names{});
}

}  // namespace
