#include "support/x_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vel::test {

std::vector<std::string> top_level_window_names() {
  std::vector<std::string> names;
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return names;
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
        names.emplace_back(reinterpret_cast<char*>(data), items);
        XFree(data);
      }
    }
    if (children) XFree(children);
  }
  XCloseDisplay(dpy);
  return names;
}

}  // namespace vel::test
