#include "support/x_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vel::test {

namespace {

// Calls `visit(display, window, name)` for every mapped top-level window that has a name.
template <class Visit>
void for_each_top_level(Visit visit) {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return;
  Window root = DefaultRootWindow(dpy), parent, *children = nullptr;
  unsigned count = 0;
  const Atom net_wm_name = XInternAtom(dpy, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
  if (XQueryTree(dpy, root, &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count; ++i) {
      XWindowAttributes attributes;
      if (!XGetWindowAttributes(dpy, children[i], &attributes) ||
          attributes.map_state != IsViewable)
        continue;
      Atom type;
      int format;
      unsigned long items, after;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(dpy, children[i], net_wm_name, 0, 4096, False, utf8, &type, &format,
                             &items, &after, &data) == Success &&
          data) {
        visit(dpy, children[i], attributes, std::string(reinterpret_cast<char*>(data), items));
        XFree(data);
      }
    }
    if (children) XFree(children);
  }
  XCloseDisplay(dpy);
}

}  // namespace

std::vector<std::string> top_level_window_names() {
  std::vector<std::string> names;
  for_each_top_level([&](Display*, Window, const XWindowAttributes&, const std::string& name) {
    names.push_back(name);
  });
  return names;
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
