// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/x_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

namespace vel::test {

namespace {

std::unique_ptr<Display, int (*)(Display*)> open_display() {
  return {XOpenDisplay(nullptr), XCloseDisplay};
}

// Calls `visit(display, window, attributes, name)` for every mapped top-level window, or only
// for the named ones.
template <class Visit>
void for_each_top_level(Visit visit, bool named_only = true) {
  const auto display = open_display();
  Display* dpy = display.get();
  Window root = dpy ? DefaultRootWindow(dpy) : 0, parent, *children = nullptr;
  unsigned count = 0;
  if (!dpy || !XQueryTree(dpy, root, &root, &parent, &children, &count)) return;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(dpy, children[i], &attributes) || attributes.map_state != IsViewable)
      continue;
    if (const std::string name = window_name(dpy, children[i]); !named_only || !name.empty())
      visit(dpy, children[i], attributes, name);
  }
  if (children) XFree(children);
}

}  // namespace

std::string window_name(Display* dpy, Window window) {
  const Atom names[] = {XInternAtom(dpy, "_NET_WM_NAME", False), XA_WM_NAME};
  for (const Atom property : names) {
    Atom type;
    int format;
    unsigned long items, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, window, property, 0, 4096, False, AnyPropertyType, &type, &format,
                           &items, &after, &data) == Success &&
        data) {
      std::string name(reinterpret_cast<char*>(data), items);
      XFree(data);
      return name;
    }
  }
  return "";
}

std::vector<std::string> top_level_window_names() {
  std::vector<std::string> names;
  for_each_top_level([&](Display*, Window, const XWindowAttributes&, const std::string& name) {
    names.push_back(name);
  });
  return names;
}

unsigned long find_window(const std::string& name) {
  Window found = 0;
  for_each_top_level([&](Display*, Window w, const XWindowAttributes&, const std::string& n) {
    if (n == name && !found) found = w;
  });
  return found;
}

std::vector<unsigned long> find_windows(const std::string& name, long pid, int width, int height) {
  std::vector<unsigned long> found;
  for_each_top_level(
      [&](Display* dpy, Window w, const XWindowAttributes& a, const std::string& n) {
        if (n != name || a.width != width || a.height != height) return;
        Atom type;
        int format;
        unsigned long items = 0, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(dpy, w, XInternAtom(dpy, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
                           &type, &format, &items, &after, &data);
        if (data && items == 1 && *reinterpret_cast<unsigned long*>(data) == (unsigned long)pid)
          found.push_back(w);
        if (data) XFree(data);
      },
      false);  // a dialog without a title has no name
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
  Atom type;
  int format;
  unsigned long items = 0, after;
  unsigned char* data = nullptr;
  XGetWindowProperty(dpy.get(), window, XInternAtom(dpy.get(), "_NET_WM_ICON", False), 0, 1 << 20,
                     False, XA_CARDINAL, &type, &format, &items, &after, &data);
  if (data) XFree(data);
  return items;
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

long count_pixels(const std::string& name, unsigned long rgb) {
  long found = -1;
  for_each_top_level(
      [&](Display* dpy, Window w, const XWindowAttributes& attributes, const std::string& n) {
        if (n != name || found >= 0) return;
        XImage* image =
            XGetImage(dpy, w, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
        if (!image) return;
        found = 0;
        for (int y = 0; y < attributes.height; ++y)
          for (int x = 0; x < attributes.width; ++x)
            if ((XGetPixel(image, x, y) & 0xffffff) == rgb) ++found;
        XDestroyImage(image);
      });
  return found;
}

}  // namespace vel::test
