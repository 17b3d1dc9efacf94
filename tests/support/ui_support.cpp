// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ui_support.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <stdexcept>

#include "support/fake_engine.h"
#include "support/x_windows.h"

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
  // The X server has placed and exposed it once it has answered everything asked before, and the
  // toolkit has taken what it sent back.
  window.get_display()->sync();
  drain_events();
}

GtkWindow* shown_window(const char* type_name) {
  const GType type = g_type_from_name(type_name);
  GListModel* windows = gtk_window_get_toplevels();
  for (guint i = 0; type && i < g_list_model_get_n_items(windows); ++i) {
    auto* window = static_cast<GtkWindow*>(g_list_model_get_item(windows, i));
    g_object_unref(window);  // the list holds it
    if (g_type_is_a(G_OBJECT_TYPE(window), type) && gtk_widget_get_mapped(GTK_WIDGET(window)))
      return window;
  }
  return nullptr;
}

int visible_windows() {
  int windows = 0;
  for (auto* w : Gtk::Window::list_toplevels()) windows += w->get_visible();
  return windows;
}

unsigned long x_window(GtkWindow* window) {
  GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window));
  const char* title = gtk_window_get_title(window);
  if (!surface || !gtk_widget_get_mapped(GTK_WIDGET(window)))
    throw std::runtime_error("the window is not on the screen");
  std::vector<unsigned long> found;
  // The caption reaches the X server with the toolkit's next flush.
  run_until([&] {
    // The X server counts the screen's pixels, the toolkit logical ones.
    const int scale = gdk_surface_get_scale_factor(surface);
    found = find_windows(title ? title : "", getpid(), gdk_surface_get_width(surface) * scale,
                         gdk_surface_get_height(surface) * scale);
    return !found.empty();
  });
  if (found.size() != 1)
    throw std::runtime_error(std::to_string(found.size()) + " X windows are called \"" +
                             (title ? title : "") + "\"");
  return found.front();
}

XInput::XInput() : dpy_(XOpenDisplay(nullptr)) {
  if (!dpy_) throw std::runtime_error("no X display");
}

XInput::~XInput() {
  XCloseDisplay(dpy_);
}

std::pair<int, int> XInput::origin(Gtk::Window& window) {
  const Window xid = x_window(window);
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

void XInput::click(int button, const std::vector<const char*>& modifiers) {
  for (const char* m : modifiers)
    XTestFakeKeyEvent(dpy_, XKeysymToKeycode(dpy_, XStringToKeysym(m)), True, CurrentTime);
  XTestFakeButtonEvent(dpy_, button, True, CurrentTime);
  XTestFakeButtonEvent(dpy_, button, False, CurrentTime);
  for (const char* m : modifiers)
    XTestFakeKeyEvent(dpy_, XKeysymToKeycode(dpy_, XStringToKeysym(m)), False, CurrentTime);
  XSync(dpy_, False);
}

void XInput::click(Gtk::Window& window, Gtk::Widget& widget) {
  const graphene_point_t middle{widget.get_width() / 2.0f, widget.get_height() / 2.0f};
  graphene_point_t at{};
  if (!gtk_widget_compute_point(widget.gobj(), GTK_WIDGET(window.gobj()), &middle, &at))
    throw std::runtime_error("the widget is not in the window");
  move(window, static_cast<int>(at.x), static_cast<int>(at.y));
  click();
}

void XInput::focus(GtkWindow* window) {
  XSetInputFocus(dpy_, x_window(window), RevertToParent, CurrentTime);
  XSync(dpy_, False);
  if (!run_until([&] { return gtk_window_is_active(window); }))
    throw std::runtime_error("the window did not take the keyboard");
}

void XInput::move_window(Gtk::Window& window, int x, int y) {
  XMoveWindow(dpy_, x_window(window), x, y);
  XSync(dpy_, False);
  if (!run_until([&] { return origin(window) == std::make_pair(x, y); }))
    throw std::runtime_error("window did not move");
}

void XInput::press_key(const char* keysym_name, const std::vector<const char*>& modifiers) {
  std::vector<KeyCode> keys;
  for (const char* m : modifiers) keys.push_back(XKeysymToKeycode(dpy_, XStringToKeysym(m)));
  keys.push_back(XKeysymToKeycode(dpy_, XStringToKeysym(keysym_name)));
  if (keys.back() == 0) throw std::runtime_error(std::string("no key for ") + keysym_name);
  for (KeyCode k : keys) XTestFakeKeyEvent(dpy_, k, True, CurrentTime);
  for (auto k = keys.rbegin(); k != keys.rend(); ++k)
    XTestFakeKeyEvent(dpy_, *k, False, CurrentTime);
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

std::vector<std::string> unnamed_for_readers(Gtk::Widget& root) {
  auto* a = GTK_ACCESSIBLE(root.gobj());
  const GtkAccessibleRole role = gtk_accessible_get_accessible_role(a);
  char* shown = gtk_test_accessible_check_state(a, GTK_ACCESSIBLE_STATE_HIDDEN, FALSE);
  const bool hidden = !root.get_visible() || (shown && std::string(shown) == "true");
  g_free(shown);
  if (hidden || role == GTK_ACCESSIBLE_ROLE_NONE || role == GTK_ACCESSIBLE_ROLE_PRESENTATION)
    return {};
  // The roles GTK leaves nameless rather than calling them by their class.
  const bool structural =
      role == GTK_ACCESSIBLE_ROLE_GENERIC || role == GTK_ACCESSIBLE_ROLE_GROUP ||
      role == GTK_ACCESSIBLE_ROLE_LIST_ITEM || role == GTK_ACCESSIBLE_ROLE_FORM ||
      role == GTK_ACCESSIBLE_ROLE_LANDMARK || role == GTK_ACCESSIBLE_ROLE_REGION ||
      role == GTK_ACCESSIBLE_ROLE_SEARCH || role == GTK_ACCESSIBLE_ROLE_SEPARATOR;
  std::vector<std::string> unnamed;
  if (!structural && !gtk_test_accessible_has_property(a, GTK_ACCESSIBLE_PROPERTY_LABEL) &&
      !gtk_test_accessible_has_relation(a, GTK_ACCESSIBLE_RELATION_LABELLED_BY))
    unnamed.push_back(G_OBJECT_TYPE_NAME(root.gobj()));
  for (auto* child = root.get_first_child(); child; child = child->get_next_sibling())
    for (auto& name : unnamed_for_readers(*child)) unnamed.push_back(name);
  return unnamed;
}

std::string accessible_property(Gtk::Widget& widget, GtkAccessibleProperty property) {
  if (!gtk_test_accessible_has_property(GTK_ACCESSIBLE(widget.gobj()), property)) return "";
  // The check reports the value it found when it differs from the one asked for.
  char* value = gtk_test_accessible_check_property(GTK_ACCESSIBLE(widget.gobj()), property, "\x01");
  std::string text = value ? value : "";
  g_free(value);
  return text;
}

std::optional<Role> control_at(BrowserWindow& window, int x_twips, int y_twips) {
  // The centre of the pixel that holds the point; the browser window has no frame.
  for (Gtk::Widget* w = window.pick(x_twips / kTwipsPerPixel + 0.5, y_twips / kTwipsPerPixel + 0.5);
       w; w = w->get_parent()) {
    for (const auto& c : browser_layout::kControls)
      if (&test::Seam::control(window, c.role) == w) return c.role;
    if (w == &window) break;
  }
  return std::nullopt;
}

std::unique_ptr<BrowserWindow> window_with_fake_engine(FakeEngine*& engine) {
  auto owned = std::make_unique<FakeEngine>();
  engine = owned.get();
  auto window = std::make_unique<BrowserWindow>(std::move(owned));
  window->present_and_open();
  show_and_wait(*window);
  return window;
}

void click_control(XInput& input, BrowserWindow& window, Role role) {
  input.click(window, test::Seam::control(window, role));
  drain_events();
}

bool click_program_spot(XInput& input, const std::string& caption, long pid, Role role,
                        const std::function<bool()>& effect) {
  const TwipsRect r = browser_layout::row(role).rect;
  for (int attempt = 0; attempt < 5; ++attempt) {
    const auto windows = find_windows(caption, pid);
    if (windows.empty()) return effect();
    const auto [x, y] = raise_window(windows.front());
    const int px = x + twips_to_px(r.left + r.width / 2),
              py = y + twips_to_px(r.top + r.height / 2);
    input.move_root(px - 3, py);  // into the hot-spot from beside it, as a hand would
    input.move_root(px, py);
    input.click();
    if (run_until(effect, std::chrono::seconds(3))) return true;
  }
  return false;
}

void enter_address(BrowserWindow& window, const std::string& text) {
  Gtk::Entry& entry = *test::Seam::address_box(window).get_entry();
  entry.set_text(text);
  g_signal_emit_by_name(entry.gobj(), "activate");
}

std::vector<std::string> address_list(BrowserWindow& window) {
  std::vector<std::string> items;
  auto model = test::Seam::address_box(window).get_model();
  for (const auto& row : model->children()) {
    Glib::ustring text;
    row.get_value(0, text);
    items.push_back(text);
  }
  return items;
}

}  // namespace vel::test
