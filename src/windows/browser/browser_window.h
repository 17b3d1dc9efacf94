// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <giomm/simpleactiongroup.h>
#include <gtkmm/comboboxtext.h>
#include <gtkmm/fixed.h>
#include <gtkmm/overlay.h>
#include <gtkmm/window.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "engine/web_engine.h"
#include "toolkit/address_popup.h"
#include "toolkit/download_strip.h"
#include "toolkit/file_dialog.h"
#include "toolkit/message.h"
#include "toolkit/page_dialog.h"
#include "toolkit/page_notice.h"
#include "toolkit/status_bar.h"
#include "toolkit/window_timer.h"
#include "windows/browser/browser_layout.h"
#include "windows/browser/find_bar.h"
#include "windows/browser/zoom_badge.h"

namespace vel {
namespace test {
struct Seam;
}

// The browser window: a banner with invisible hot-spots, the address box, the web view and the
// status bar, at the fixed rectangles of its control table (browser_layout.h).
//
// Its commands are actions: "win.back", "win.forward", "win.stop", "win.reload", "win.home",
// "win.search", "win.new-document", "win.open", "win.online" and "win.offline" belong to the
// window, and so do the desktop's usual commands that the design has no control for: "win.find"
// (with "win.find-next", "win.find-previous", "win.find-close"), "win.zoom-in", "win.zoom-out",
// "win.zoom-reset", "win.print" and "win.close", Escape's "win.dialog-cancel", and "win.downloads"
// (the keyboard to the downloads' Cancel); the hot-spots for the clock, About and exit activate
// "app.clock", "app.about" and "app.quit", which the application provides. Hot-spots and keys
// activate the same actions.
class BrowserWindow : public Gtk::Window {
 public:
  explicit BrowserWindow(std::unique_ptr<WebEngine> engine);
  ~BrowserWindow() override;

  // Shows the window and, unless the address is empty, opens it as if chosen from the address
  // list: into the box and the list, with the progress monitor on.
  void present_and_open(const std::string& address = {});
  // A private run's window: the address box looks and reads otherwise (the caption stays as it is).
  void mark_private();
  // A message for the user over the window, which they close with OK.
  void tell(const std::string& text, const std::string& detail = {});

 private:
  // The tests and the benchmarks read the window's parts through test::Seam
  // (tests/support/seam.h), their one way in besides real input and what a screen reader hears.
  friend struct test::Seam;
  // The widget of a control of the table.
  Gtk::Widget& control(browser_layout::Role role) const {
    return *widgets_[browser_layout::index_of(role)];
  }

  // The address box: an entry chosen from the list, and Enter.
  void on_address_chosen();
  void on_address_activated();
  // The engine finished a load: the box shows where it ended up.
  void on_load_finished();
  // One look of the progress monitor: "Opening..." while the engine is loading, else "Done" and the
  // page's title in the caption, and the monitor stops.
  void on_monitor_tick();
  // A download went on or ended: the status bar shows those under way, and an ending is told.
  void on_download(const DownloadEvent& event);

  void build_controls();
  Gtk::Widget* build_control(const browser_layout::Control& c);
  // Writes a control's hover hint into the hint panel.
  std::function<void()> write_hint(std::string_view hint);
  void build_actions();
  void remember(const Glib::ustring& text);
  void on_new_document();
  void on_open();
  void on_offline();
  void name_page();
  void build_page_tools();
  void zoom_step(int direction);

  std::unique_ptr<WebEngine> engine_;
  Gtk::Overlay* overlay_ = nullptr;
  Gtk::Fixed* fixed_ = nullptr;
  Gtk::ComboBoxText* address_box_ = nullptr;
  StatusBar* status_bar_ = nullptr;
  std::array<Gtk::Widget*, browser_layout::kControls.size()> widgets_{};
  Glib::RefPtr<Gio::SimpleActionGroup> actions_;
  // The progress monitor: a poll of whether the engine is loading, set at 5 ms and so run every 16
  // ms, the window timer's finest step.
  WindowTimer load_monitor_{browser_layout::kLoadMonitorMs};
  sigc::connection address_changed_;
  sigc::connection load_finished_, settled_, title_changed_, responsive_, download_;
  sigc::connection page_question_, question_withdrawn_;
  std::unique_ptr<AddressPopup> address_popup_;
  FindBar* find_bar_ = nullptr;
  ZoomBadge* zoom_badge_ = nullptr;
  PageDialog* page_dialog_ = nullptr;  // the page's question, inside the page, while there is one
  PageNotice* page_notice_ = nullptr;
  DownloadStrip* download_strip_ = nullptr;
  std::map<unsigned, DownloadProgress> downloads_;  // under way, by the engine's id
  FileDialog file_dialog_{*this};
  MessageBox message_box_;
};

}  // namespace vel
