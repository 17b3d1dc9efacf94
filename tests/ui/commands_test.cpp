// SPDX-License-Identifier: GPL-3.0-or-later
// The command hot-spots of the browser window, clicked with the real pointer: the text editor
// start and the file-open dialog.
#include <giomm/appinfo.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/filechooserdialog.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "browser/browser_window.h"
#include "support/fake_engine.h"
#include "support/ui_support.h"
#include "support/window_helpers.h"

using namespace vel;
using test::Role;
namespace fs = std::filesystem;

namespace {

// A desktop of our own, set up before GTK reads its directories: the only application for plain
// text is a stand-in that writes one line per start (the number of arguments it got) to a marker
// file. The system's data directories stay visible, except their applications.
struct StandInDesktop {
  fs::path root, marker, desktop_file, mimeapps;

  StandInDesktop() {
    char tmpl[] = "/tmp/vel-commands-XXXXXX";
    root = mkdtemp(tmpl);
    marker = root / "editor-starts";
    const fs::path script = root / "editor.sh";
    std::ofstream(script) << "#!/bin/sh\necho $# >> '" << marker.string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);

    fs::create_directories(root / "data" / "applications");
    desktop_file = root / "data" / "applications" / "vel-stand-in-editor.desktop";
    std::ofstream(desktop_file) << "[Desktop Entry]\nType=Application\nName=Stand-in editor\n"
                                << "Exec=" << script.string() << " %F\nMimeType=text/plain;\n";
    fs::create_directories(root / "config");
    mimeapps = root / "config" / "mimeapps.list";
    std::ofstream(mimeapps) << "[Default Applications]\ntext/plain=vel-stand-in-editor.desktop\n";

    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::stringstream list(dirs && *dirs ? dirs : "/usr/local/share:/usr/share");
    std::string system_dirs, dir;
    for (int n = 0; std::getline(list, dir, ':'); ++n) {
      if (!fs::is_directory(dir)) continue;
      const fs::path mirror = root / ("system" + std::to_string(n));
      fs::create_directories(mirror);
      for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename() != "applications")
          fs::create_directory_symlink(entry.path(), mirror / entry.path().filename());
      system_dirs += (system_dirs.empty() ? "" : ":") + mirror.string();
    }
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_DATA_DIRS", system_dirs.c_str(), 1);
  }
  ~StandInDesktop() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }

  std::string starts() const {
    std::stringstream text;
    text << std::ifstream(marker).rdbuf();
    return text.str();
  }
};

const StandInDesktop desktop;  // before main(), so before GTK starts

struct CommandsFixture : ::testing::Test {
  CommandsFixture() {
    window = test::window_with_fake_engine(engine);
    window->load();
    test::show_and_wait(*window);
  }

  void click(test::Role role) { test::click_control(input, *window, role); }

  // Answers the toolkit's dialog behind the file-open dialog, modal over this window, with the
  // given file, or Cancel for none.
  void answer_file_dialog(const std::string& path) {
    Gtk::FileChooserDialog* dialog = nullptr;
    ASSERT_TRUE(test::run_until([&] {
      for (Gtk::Window* w : Gtk::Window::list_toplevels())
        if (GTK_IS_FILE_CHOOSER_DIALOG(w->gobj()) && w->get_mapped())
          dialog = dynamic_cast<Gtk::FileChooserDialog*>(w);
      return dialog != nullptr;
    }));
    EXPECT_TRUE(dialog->get_modal());
    EXPECT_EQ(dialog->get_transient_for(), window.get());
    if (!path.empty()) {
      dialog->set_file(Gio::File::create_for_path(path));
      // Selected once the dialog has read the folder.
      ASSERT_TRUE(test::run_until(
          [&] { return dialog->get_file() && dialog->get_file()->get_path() == path; }));
    }
    dialog->response(path.empty() ? Gtk::ResponseType::CANCEL : Gtk::ResponseType::ACCEPT);
    ASSERT_TRUE(test::run_until([&] { return !window->file_dialog().is_shown(); }));
    // Gone from the screen too, before the next click goes where it stood.
    ASSERT_TRUE(test::run_until([&] { return !dialog->get_mapped(); }));
    window->get_display()->sync();
  }

  std::unique_ptr<BrowserWindow> window;
  test::FakeEngine* engine = nullptr;
  test::XInput input;
};

}  // namespace

TEST_F(CommandsFixture, NewDocumentStartsOneEditorPerClickOrSaysWhyNot) {
  // Save and Edit do nothing at all.
  click(Role::SaveSpot);
  click(Role::EditDocumentSpot);
  // Each click on New starts one more editor, on no file, without waiting for it.
  click(Role::NewDocumentSpot);
  ASSERT_TRUE(test::run_until([&] { return desktop.starts() == "0\n"; }));
  click(Role::NewDocumentSpot);
  ASSERT_TRUE(test::run_until([&] { return desktop.starts() == "0\n0\n"; }));
  EXPECT_EQ(window->message(), nullptr);
  EXPECT_FALSE(window->file_dialog().is_shown());

  // Without any application for plain text, a message says so; nothing else changes.
  fs::remove(desktop.desktop_file);
  fs::remove(desktop.mimeapps);
  ASSERT_TRUE(test::run_until([] { return !Gio::AppInfo::get_default_for_type("text/plain"); }));
  click(Role::NewDocumentSpot);
  ASSERT_TRUE(
      test::run_until([&] { return window->message() && window->message()->get_mapped(); }));
  EXPECT_EQ(window->message()->property_text().get_value(), "No text editor could be started.");
  EXPECT_TRUE(window->message()->get_modal());
  EXPECT_EQ(window->message()->get_transient_for(), window.get());
  EXPECT_EQ(desktop.starts(), "0\n0\n");
  // OK closes it.
  input.focus(*window->message());
  ASSERT_TRUE(test::run_until([&] { return window->message()->is_active(); }));
  input.press_key("Return");
  EXPECT_TRUE(test::run_until([&] { return window->message() == nullptr; }));
  EXPECT_TRUE(engine->calls.empty());
}

TEST_F(CommandsFixture, OpenNavigatesToTheChosenFileAndCancelKeepsThePage) {
  const fs::path file = desktop.root / "chosen page.html";
  std::ofstream(file) << "<title>Chosen</title>";

  // A chosen file is opened by its full path.
  click(Role::OpenSpot);
  answer_file_dialog(file.string());
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"navigate:" + file.string()}));

  // Cancel, after a file was chosen: the page stays, the file is not opened again. Ctrl+O opens
  // the same dialog.
  input.focus(*window);
  ASSERT_TRUE(test::run_until([&] { return window->is_active(); }));
  input.press_key("o", {"Control_L"});
  answer_file_dialog("");
  EXPECT_EQ(engine->calls.size(), 1u);
}
