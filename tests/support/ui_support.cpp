#include "support/ui_support.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <gdk/x11/gdkx.h>

#include <stdexcept>

namespace vel::test {

void show_and_wait(Gtk::Window& window) {
  window.present();
  bool drawn = false;
  window.add_tick_callback([&drawn](const Glib::RefPtr<Gdk::FrameClock>&) {
    drawn = true;
    return false;
  });
  if (!run_until([&] { return window.get_mapped() && drawn; }))
    throw std::runtime_error("window was not mapped");
  // Let the X server place and expose it.
  run_until([] { return false; }, std::chrono::milliseconds(50));
}

XInput::XInput() : dpy_(XOpenDisplay(nullptr)) {
  if (!dpy_) throw std::runtime_error("no X display");
}

XInput::~XInput() {
  XCloseDisplay(dpy_);
}

std::pair<int, int> XInput::origin(Gtk::Window& window) {
  const Window xid = gdk_x11_surface_get_xid(window.get_surface()->gobj());
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(dpy_, xid, DefaultRootWindow(dpy_), 0, 0, &x, &y, &child);
  return {x, y};
}

void XInput::move_root(int x, int y) {
  XTestFakeMotionEvent(dpy_, -1, x, y, CurrentTime);
  XSync(dpy_, False);
}

void XInput::move(Gtk::Window& window, int x, int y) {
  const auto [ox, oy] = origin(window);
  move_root(ox + x, oy + y);
}

void XInput::click(int button) {
  XTestFakeButtonEvent(dpy_, button, True, CurrentTime);
  XTestFakeButtonEvent(dpy_, button, False, CurrentTime);
  XSync(dpy_, False);
}

void XInput::focus(Gtk::Window& window) {
  XSetInputFocus(dpy_, gdk_x11_surface_get_xid(window.get_surface()->gobj()), RevertToParent,
                 CurrentTime);
  XSync(dpy_, False);
}

void XInput::move_window(Gtk::Window& window, int x, int y) {
  XMoveWindow(dpy_, gdk_x11_surface_get_xid(window.get_surface()->gobj()), x, y);
  XSync(dpy_, False);
  if (!run_until([&] { return origin(window) == std::make_pair(x, y); }))
    throw std::runtime_error("window did not move");
}

void XInput::press_key(const char* keysym_name, const std::vector<const char*>& modifiers) {
  std::vector<KeyCode> mods;
  for (const char* m : modifiers) mods.push_back(XKeysymToKeycode(dpy_, XStringToKeysym(m)));
  const KeyCode code = XKeysymToKeycode(dpy_, XStringToKeysym(keysym_name));
  if (code == 0) throw std::runtime_error(std::string("no key for ") + keysym_name);
  for (KeyCode m : mods) XTestFakeKeyEvent(dpy_, m, True, CurrentTime);
  XTestFakeKeyEvent(dpy_, code, True, CurrentTime);
  XTestFakeKeyEvent(dpy_, code, False, CurrentTime);
  for (auto it = mods.rbegin(); it != mods.rend(); ++it)
    XTestFakeKeyEvent(dpy_, *it, False, CurrentTime);
  XSync(dpy_, False);
}

void XInput::type(const std::string& text) {
  const KeyCode shift = XKeysymToKeycode(dpy_, XK_Shift_L);
  for (unsigned char c : text) {
    const KeySym sym = c == '\n' ? XK_Return : static_cast<KeySym>(c);
    const KeyCode code = XKeysymToKeycode(dpy_, sym);
    if (code == 0) throw std::runtime_error("cannot type character");
    const bool shifted = XkbKeycodeToKeysym(dpy_, code, 0, 0) != sym;
    if (shifted) XTestFakeKeyEvent(dpy_, shift, True, CurrentTime);
    XTestFakeKeyEvent(dpy_, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy_, code, False, CurrentTime);
    if (shifted) XTestFakeKeyEvent(dpy_, shift, False, CurrentTime);
  }
  XSync(dpy_, False);
}

}  // namespace vel::test
