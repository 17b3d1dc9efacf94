// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>
#include <gtkmm/widget.h>
#include <gtkmm/window.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/main_loop.h"
#include "support/page_server.h"
#include "support/seam.h"
#include "windows/browser/browser_window.h"

struct _XDisplay;

// Runs the main loop until the condition holds (see run_until, with its deadline); a failure
// names the condition that never came.
#define EXPECT_SOON(condition) \
  EXPECT_TRUE(::vel::test::run_until([&] { return bool(condition); })) << "never: " #condition " "
#define ASSERT_SOON(condition) \
  ASSERT_TRUE(::vel::test::run_until([&] { return bool(condition); })) << "never: " #condition " "

namespace vel::test {

using browser_layout::Role;

// Shows the window and waits until it is mapped and has drawn a frame.
void show_and_wait(Gtk::Window& window);

// One of this process's windows on the screen, of the type of that name or one derived from it
// (a toolkit dialog, whose type may be deprecated); none while there is none. Through GTK's C
// interface only, for dialogs that the engine makes and destroys.
GtkWindow* shown_window(const char* type_name);
// How many of this process's windows are shown.
int visible_windows();

// The widgets under `root` (itself included) that a screen reader would call by their class name,
// having no name of their own; hidden widgets and their insides are left out.
std::vector<std::string> unnamed_for_readers(Gtk::Widget& root);
// An accessible property's value as a string (empty when unset).
std::string accessible_property(Gtk::Widget& widget, GtkAccessibleProperty property);

// The X window of one of this process's windows, found by its caption and size: GTK 4.18
// deprecates its X11 backend's own calls, gdk_x11_surface_get_xid() among them. Waits for the X
// server to know the window; throws when none or two windows fit.
unsigned long x_window(GtkWindow* window);
inline unsigned long x_window(Gtk::Window& window) {
  return x_window(window.gobj());
}

// Real pointer and keyboard events through the X server (XTest).
class XInput {
 public:
  XInput();
  ~XInput();
  XInput(const XInput&) = delete;
  XInput& operator=(const XInput&) = delete;

  // Screen position of a window's top-left corner.
  std::pair<int, int> origin(Gtk::Window& window);
  // Moves the pointer to (x, y) pixels in the window's client area.
  void move(Gtk::Window& window, int x, int y);
  void move_root(int x, int y);
  // A click of `button` (4 and 5: the wheel up and down) with those keys held.
  void click(int button = 1, const std::vector<const char*>& modifiers = {});
  // Moves the pointer to the middle of one of the window's widgets and clicks there.
  void click(Gtk::Window& window, Gtk::Widget& widget);
  void press_key(const char* keysym_name, const std::vector<const char*>& modifiers = {});
  // Types text that the US keymap can produce.
  void type(const std::string& text);
  // Gives the window the keyboard, as a click on it would, and waits until it has it.
  void focus(GtkWindow* window);
  void focus(Gtk::Window& window) { focus(window.gobj()); }
  // Moves a top-level window on the screen (there is no window manager to ask) and waits.
  void move_window(Gtk::Window& window, int x, int y);

 private:
  _XDisplay* dpy_;
};

// The browser window's control that is uppermost at a point given in twips; none over a gap.
std::optional<Role> control_at(BrowserWindow& window, int x_twips, int y_twips);

class FakeEngine;

// A browser window over a stand-in engine, opened as at start-up and shown; `engine` is set to
// it and lives as long as the window.
std::unique_ptr<BrowserWindow> window_with_fake_engine(FakeEngine*& engine);

// A real click in the middle of one of the browser window's controls; handled when it returns.
void click_control(XInput& input, BrowserWindow& window, Role role);

// A click in the middle of a hot-spot of the program `pid`'s browser window captioned `caption`,
// repeated (up to five times) until `effect` holds: a program maps its window a moment before it
// takes input, and nothing outside it tells when. True once the effect came.
bool click_program_spot(XInput& input, const std::string& caption, long pid, Role role,
                        const std::function<bool()>& effect);

// Puts the text into the address box and presses Enter there, as the entry's own activation.
void enter_address(BrowserWindow& window, const std::string& text);

// The address box's list, first entry first, read from the box's own model.
std::vector<std::string> address_list(BrowserWindow& window);

}  // namespace vel::test
