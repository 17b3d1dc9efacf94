#pragma once

#include <gtkmm/comboboxtext.h>
#include <gtkmm/fixed.h>
#include <gtkmm/overlay.h>
#include <gtkmm/picture.h>
#include <gtkmm/window.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "browser/address_history.h"
#include "browser/image_list.h"
#include "platform/file_dialog.h"
#include "platform/hotspot.h"
#include "platform/message.h"
#include "platform/status_bar.h"
#include "platform/web_engine.h"
#include "platform/window_timer.h"

namespace vel {

class Form2;

// The browser window: a banner with invisible hot-spots, the address box, the web view and the
// status bar, at the fixed rectangles of its layout table. Handlers are named after their control
// and event.
class Form1 : public Gtk::Window {
 public:
  explicit Form1(std::unique_ptr<WebEngine> engine);
  ~Form1() override;

  // The address to open when the window is loaded; empty opens nothing.
  std::string StartingAddress;

  // Load: shows the window and, when StartingAddress is set, opens it.
  void Form_Load();
  // Resize: the layout is fixed, so this moves nothing.
  void Form_Resize();

  // The address box.
  void cboAddress_Click();  // an entry chosen from the list
  void cboAddress_KeyPress(unsigned key_code);
  void brwWebBrowser_DownloadComplete();

  // The page-load progress monitor.
  void timTimer_Timer();

  // The six toolbar buttons: hit areas over the painted buttons and the labels carrying them.
  void Label1_Click();
  void Label2_Click();
  void Label3_Click();
  void Label4_Click();
  void Label5_Click();
  void Label6_Click();
  void Image2_Click();
  void Image3_Click();
  void Image4_Click();
  void Image5_Click();
  void Image6_Click();
  void Image7_Click();
  void Image1_MouseMove();
  void Image2_MouseMove();
  void Image3_MouseMove();
  void Image4_MouseMove();
  void Image5_MouseMove();
  void Image6_MouseMove();
  void Image7_MouseMove();

  // The document, connection and About commands. Label9 and Label12 have no command.
  void Label7_Click();   // new document in the text editor
  void Label8_Click();   // open a local file
  void Label10_Click();  // work online
  void Label11_Click();  // work offline
  void Label16_Click();  // About
  // Grows the About window.
  void Timer1_Timer();

  // Commands that reach beyond this window are handed to the application.
  sigc::signal<void()>& signal_time_zone() { return time_zone_; }
  // The About window, which the application owns; it creates a hidden one when there is none.
  void set_about_window(std::function<Form2&()> about_window) {
    about_window_ = std::move(about_window);
  }
  sigc::signal<void()>& signal_exit() { return exit_; }

  // The controls, for the application and for tests.
  WebEngine& brwWebBrowser() { return *engine_; }
  Gtk::ComboBoxText& cboAddress() { return *cbo_address_; }
  StatusBar& StatusBar1() { return *status_bar_; }
  WindowTimer& timTimer() { return tim_timer_; }
  WindowTimer& Timer1() { return timer1_; }
  FileDialog& CommonDialog1() { return common_dialog1_; }
  // The message shown when a command failed, while it is shown.
  Gtk::MessageDialog* message() const { return message_.dialog(); }
  const ImageList& imlIcons() const { return iml_icons_; }
  Gtk::Widget* control(std::string_view name) const;
  Gtk::Fixed& client_area() { return *fixed_; }
  // The address box's list, first entry first, as the box shows it.
  std::vector<std::string> address_list() const;
  const AddressHistory& history() const { return history_; }

 private:
  void build_controls();
  void build_shortcuts();
  Hotspot* hotspot(std::string_view name) const;
  void on_combo_changed();
  void append_to_list(const std::string& text);

  std::unique_ptr<WebEngine> engine_;
  Gtk::Overlay* overlay_ = nullptr;
  Gtk::Fixed* fixed_ = nullptr;
  Gtk::ComboBoxText* cbo_address_ = nullptr;
  StatusBar* status_bar_ = nullptr;
  std::map<std::string, Gtk::Widget*, std::less<>> controls_;
  WindowTimer tim_timer_{5};
  WindowTimer timer1_{200};
  ImageList iml_icons_;
  AddressHistory history_;
  sigc::connection combo_changed_;
  sigc::connection download_complete_, settled_;
  sigc::signal<void()> time_zone_, exit_;
  std::function<Form2&()> about_window_;
  FileDialog common_dialog1_{*this};
  MessageBox message_;
};

}  // namespace vel
