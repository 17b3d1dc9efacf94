// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/x_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace vel::test {

namespace {

std::unique_ptr<Display, int (*)(Display*)> open_display() {
  return {XOpenDisplay(nullptr), XCloseDisplay};
}

// A window property's items: chars for 8-bit ones, longs for 32-bit ones (as Xlib gives them).
template <class Item>
std::vector<Item> property(Display* dpy, Window window, Atom name, Atom type = AnyPropertyType) {
  Atom actual;
  int format;
  unsigned long items = 0, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, window, name, 0, 1 << 20, False, type, &actual, &format, &items,
                         &after, &data) != Success ||
      !data)
    return {};
  std::vector<Item> result(reinterpret_cast<Item*>(data), reinterpret_cast<Item*>(data) + items);
  XFree(data);
  return result;
}

// Calls `visit(display, window, attributes, name)` for every mapped top-level window.
template <class Visit>
void for_each_top_level(Visit visit) {
  const auto display = open_display();
  Display* dpy = display.get();
  Window root = dpy ? DefaultRootWindow(dpy) : 0, parent, *children = nullptr;
  unsigned count = 0;
  if (!dpy || !XQueryTree(dpy, root, &root, &parent, &children, &count)) return;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(dpy, children[i], &attributes) && attributes.map_state == IsViewable)
      visit(dpy, children[i], attributes, window_name(dpy, children[i]));
  }
  if (children) XFree(children);
}

}  // namespace

std::string window_name(Display* dpy, Window window) {
  for (const Atom name : {XInternAtom(dpy, "_NET_WM_NAME", False), XA_WM_NAME})
    if (const auto text = property<char>(dpy, window, name); !text.empty())
      return {text.begin(), text.end()};
  return "";
}

unsigned long find_window(const std::string& name) {
  const auto found = find_windows(name);
  return found.empty() ? 0 : found.front();
}

std::vector<unsigned long> find_windows(const std::string& name, long pid, int width, int height) {
  std::vector<unsigned long> found;
  for_each_top_level([&](Display* dpy, Window w, const XWindowAttributes& a, const std::string& n) {
    if (n != name || (width && (a.width != width || a.height != height))) return;
    const auto pids = property<unsigned long>(dpy, w, XInternAtom(dpy, "_NET_WM_PID", False));
    if (!pid || (pids.size() == 1 && pids[0] == static_cast<unsigned long>(pid)))
      found.push_back(w);
  });
  return found;
}

std::string window_class(unsigned long window) {
  XClassHint hint{};
  if (!XGetClassHint(open_display().get(), window, &hint)) return "";
  const std::string both = std::string(hint.res_name) + "/" + hint.res_class;
  XFree(hint.res_name);
  XFree(hint.res_class);
  return both;
}

unsigned long icon_numbers(unsigned long window) {
  const auto dpy = open_display();
  const Atom icon = XInternAtom(dpy.get(), "_NET_WM_ICON", False);
  return property<unsigned long>(dpy.get(), window, icon, XA_CARDINAL).size();
}

std::pair<int, int> raise_window(unsigned long window) {
  const auto dpy = open_display();
  XRaiseWindow(dpy.get(), window);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(dpy.get(), window, DefaultRootWindow(dpy.get()), 0, 0, &x, &y, &child);
  XSync(dpy.get(), False);
  return {x, y};
}

WindowPixels window_pixels(unsigned long window) {
  const auto dpy = open_display();
  XWindowAttributes a;
  XImage* image = XGetWindowAttributes(dpy.get(), window, &a)
                      ? XGetImage(dpy.get(), window, 0, 0, a.width, a.height, AllPlanes, ZPixmap)
                      : nullptr;
  if (!image) throw std::runtime_error("cannot read the window's pixels");
  WindowPixels pixels{a.width, a.height, {}};
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) pixels.rgb.push_back(XGetPixel(image, x, y) & 0xffffff);
  XDestroyImage(image);
  return pixels;
}

long count_pixels(const std::string& name, unsigned long rgb) {
  const unsigned long window = find_window(name);
  if (!window) return -1;
  const auto pixels = window_pixels(window).rgb;
  return std::count(pixels.begin(), pixels.end(), rgb);
}

}  // namespace vel::test
