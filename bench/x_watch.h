// SPDX-License-Identifier: GPL-3.0-or-later
// The X server as the trial watches it: new top-level windows through SubstructureNotify on the
// root window, their captions through PropertyNotify, and real clicks through XTest.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/x_windows.h"

namespace vel::bench {

class XWatch {
  using Clock = std::chrono::steady_clock;

 public:
  XWatch() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
      std::fputs("vel-trial: cannot open the X display\n", stderr);
      std::exit(1);
    }
    root_ = DefaultRootWindow(display_);
    // Windows come and go while we look at them: an error about one that has gone is no failure.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    net_wm_name_ = XInternAtom(display_, "_NET_WM_NAME", False);
    XSelectInput(display_, root_, SubstructureNotifyMask);
    int event, error, major, minor;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
      std::fputs("vel-trial: the X server has no XTest\n", stderr);
      std::exit(1);
    }
    XSync(display_, False);
  }
  ~XWatch() { XCloseDisplay(display_); }

  struct Window_ {
    Window id = 0;
    bool mapped = false;
    std::string name;
  };

  // Handles events until `done` holds or the deadline passes.
  bool wait(const std::function<bool()>& done, double timeout_s) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeout_s);
    while (!done()) {
      if (!XPending(display_)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd pfd{ConnectionNumber(display_), POLLIN, 0};
        poll(&pfd, 1, static_cast<int>(left.count()));
        continue;
      }
      XEvent ev;
      XNextEvent(display_, &ev);
      handle(ev);
    }
    return true;
  }

  const std::vector<Window_>& windows() const { return windows_; }
  Window_* find(Window id) {
    for (auto& w : windows_)
      if (w.id == id) return &w;
    return nullptr;
  }
  Window_* find_named(const std::string& name) {
    for (auto& w : windows_)
      if (w.name == name) return &w;
    return nullptr;
  }

  // Moves the pointer to a point of a window's client area and clicks the first button there.
  void click(Window w, int x, int y) {
    int rx = 0, ry = 0;
    Window child;
    XTranslateCoordinates(display_, w, root_, x, y, &rx, &ry, &child);
    XTestFakeMotionEvent(display_, -1, rx, ry, CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
  }

  // Gives a window the keyboard focus, as a window manager does when it maps or raises one.
  void focus(Window w) {
    XSetInputFocus(display_, w, RevertToPointerRoot, CurrentTime);
    XSync(display_, False);
  }

  // Parks the pointer in the bottom-right corner of the screen, over no window.
  void park_pointer() {
    const int screen = DefaultScreen(display_);
    XTestFakeMotionEvent(display_, screen, DisplayWidth(display_, screen) - 2,
                         DisplayHeight(display_, screen) - 2, CurrentTime);
    XSync(display_, False);
  }

  std::function<void(Window_&)> on_map, on_unmap, on_name;

 private:
  void track(Window id) {
    if (find(id)) return;
    XSelectInput(display_, id, PropertyChangeMask | StructureNotifyMask);
    windows_.push_back({id, false, {}});
    // The name may have been set before we listened.
    read_name(windows_.back());
  }

  void read_name(Window_& w) {
    const std::string name = vel::test::window_name(display_, w.id);
    if (name != w.name) {
      w.name = name;
      if (on_name) on_name(w);
    }
  }

  void handle(const XEvent& ev) {
    switch (ev.type) {
      case CreateNotify:
        // Menus and tooltips are override-redirect; only real top-level windows count.
        if (ev.xcreatewindow.parent == root_ && !ev.xcreatewindow.override_redirect)
          track(ev.xcreatewindow.window);
        break;
      case MapNotify:
        if (auto* w = find(ev.xmap.window); w && !w->mapped) {
          w->mapped = true;
          read_name(*w);
          if (on_map) on_map(*w);
        }
        break;
      case UnmapNotify:
        if (auto* w = find(ev.xunmap.window); w && w->mapped) {
          w->mapped = false;
          if (on_unmap) on_unmap(*w);
        }
        break;
      case PropertyNotify:
        if (ev.xproperty.atom == net_wm_name_ || ev.xproperty.atom == XA_WM_NAME)
          if (auto* w = find(ev.xproperty.window)) read_name(*w);
        break;
      case DestroyNotify:
        for (auto it = windows_.begin(); it != windows_.end(); ++it)
          if (it->id == ev.xdestroywindow.window) {
            windows_.erase(it);
            break;
          }
        break;
      default:
        break;
    }
  }

  Display* display_ = nullptr;
  Window root_ = 0;
  Atom net_wm_name_ = 0;
  std::vector<Window_> windows_;
};

}  // namespace vel::bench
