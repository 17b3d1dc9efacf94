#include "support/ui_support.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <gdk/x11/gdkx.h>
#include <glib.h>
#include <libsoup/soup.h>

#include <stdexcept>

namespace vel::test {

bool run_until(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  // Wake the loop now and then so the deadline is noticed even when nothing happens.
  const guint waker = g_timeout_add(
      20, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
  bool ok = done();
  while (!ok && std::chrono::steady_clock::now() < end) {
    g_main_context_iteration(nullptr, TRUE);
    ok = done();
  }
  g_source_remove(waker);
  return ok;
}

void drain_events() {
  while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
}

void show_and_wait(Gtk::Window& window) {
  window.present();
  bool drawn = false;
  auto id = window.add_tick_callback([&drawn](const Glib::RefPtr<Gdk::FrameClock>&) {
    drawn = true;
    return false;
  });
  if (!run_until([&] { return window.get_mapped() && drawn; }))
    throw std::runtime_error("window was not mapped");
  (void)id;
  // Let the X server place and expose it.
  run_until([] { return false; }, std::chrono::milliseconds(50));
}

// --- XInput -----------------------------------------------------------------------------------

struct XInput::Impl {
  Display* dpy = nullptr;
};

XInput::XInput() : impl_(std::make_unique<Impl>()) {
  impl_->dpy = XOpenDisplay(nullptr);
  if (!impl_->dpy) throw std::runtime_error("no X display");
}

XInput::~XInput() {
  XCloseDisplay(impl_->dpy);
}

void XInput::sync() {
  XSync(impl_->dpy, False);
}

std::pair<int, int> XInput::origin(Gtk::Window& window) {
  auto surface = window.get_surface();
  if (!surface) throw std::runtime_error("window has no surface");
  const Window xid = gdk_x11_surface_get_xid(surface->gobj());
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(impl_->dpy, xid, DefaultRootWindow(impl_->dpy), 0, 0, &x, &y, &child);
  return {x, y};
}

void XInput::move_root(int x, int y) {
  XTestFakeMotionEvent(impl_->dpy, -1, x, y, CurrentTime);
  sync();
}

void XInput::move(Gtk::Window& window, int x, int y) {
  const auto [ox, oy] = origin(window);
  move_root(ox + x, oy + y);
}

void XInput::click(int button) {
  XTestFakeButtonEvent(impl_->dpy, button, True, CurrentTime);
  XTestFakeButtonEvent(impl_->dpy, button, False, CurrentTime);
  sync();
}

void XInput::focus(Gtk::Window& window) {
  auto surface = window.get_surface();
  XSetInputFocus(impl_->dpy, gdk_x11_surface_get_xid(surface->gobj()), RevertToParent, CurrentTime);
  sync();
}

void XInput::move_window(Gtk::Window& window, int x, int y) {
  auto surface = window.get_surface();
  XMoveWindow(impl_->dpy, gdk_x11_surface_get_xid(surface->gobj()), x, y);
  sync();
  if (!run_until([&] { return origin(window) == std::make_pair(x, y); }))
    throw std::runtime_error("window did not move");
}

void XInput::press_key(const char* keysym_name, const std::vector<const char*>& modifiers) {
  std::vector<KeyCode> mods;
  for (const char* m : modifiers) mods.push_back(XKeysymToKeycode(impl_->dpy, XStringToKeysym(m)));
  const KeyCode code = XKeysymToKeycode(impl_->dpy, XStringToKeysym(keysym_name));
  if (code == 0) throw std::runtime_error(std::string("no key for ") + keysym_name);
  for (KeyCode m : mods) XTestFakeKeyEvent(impl_->dpy, m, True, CurrentTime);
  XTestFakeKeyEvent(impl_->dpy, code, True, CurrentTime);
  XTestFakeKeyEvent(impl_->dpy, code, False, CurrentTime);
  for (auto it = mods.rbegin(); it != mods.rend(); ++it)
    XTestFakeKeyEvent(impl_->dpy, *it, False, CurrentTime);
  sync();
}

void XInput::type(const std::string& text) {
  const KeyCode shift = XKeysymToKeycode(impl_->dpy, XK_Shift_L);
  for (unsigned char c : text) {
    const KeySym sym = c == '\n' ? XK_Return : static_cast<KeySym>(c);
    const KeyCode code = XKeysymToKeycode(impl_->dpy, sym);
    if (code == 0) throw std::runtime_error("cannot type character");
    const bool shifted = XkbKeycodeToKeysym(impl_->dpy, code, 0, 0) != sym;
    if (shifted) XTestFakeKeyEvent(impl_->dpy, shift, True, CurrentTime);
    XTestFakeKeyEvent(impl_->dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(impl_->dpy, code, False, CurrentTime);
    if (shifted) XTestFakeKeyEvent(impl_->dpy, shift, False, CurrentTime);
  }
  sync();
}

// --- TestServer -------------------------------------------------------------------------------

struct TestServer::Impl {
  struct Page {
    std::string body, type;
    unsigned delay_ms = 0;
    std::size_t declared = 0;  // a broken download: promised length
    std::vector<std::pair<std::string, std::string>> headers;
  };
  bool tls = false;
  SoupServer* server = nullptr;
  std::map<std::string, Page> pages;
  std::map<std::string, int> counts;
  int total = 0;
  int port = 0;
  std::vector<guint> timers;

  static void handle(SoupServer*, SoupServerMessage* msg, const char* path, GHashTable*,
                     gpointer data) {
    auto* self = static_cast<Impl*>(data);
    self->counts[path]++;
    self->total++;
    const auto it = self->pages.find(path);
    if (it == self->pages.end()) {
      static constexpr char kMissing[] = "<html><head><title>Not found</title></head></html>";
      soup_server_message_set_status(msg, 404, nullptr);
      soup_server_message_set_response(msg, "text/html", SOUP_MEMORY_STATIC, kMissing,
                                       sizeof kMissing - 1);
      return;
    }
    const Page& page = it->second;
    auto* headers = soup_server_message_get_response_headers(msg);
    for (const auto& [name, value] : page.headers)
      soup_message_headers_append(headers, name.c_str(), value.c_str());
    if (page.declared > 0) {
      // Promise more than is sent, then drop the connection.
      soup_server_message_set_status(msg, 200, nullptr);
      soup_message_headers_set_encoding(headers, SOUP_ENCODING_CONTENT_LENGTH);
      soup_message_headers_set_content_length(headers, static_cast<goffset>(page.declared));
      soup_message_headers_set_content_type(headers, page.type.c_str(), nullptr);
      SoupMessageBody* body = soup_server_message_get_response_body(msg);
      soup_message_body_append(body, SOUP_MEMORY_COPY, page.body.data(), page.body.size());
      soup_server_message_pause(msg);
      g_object_ref(msg);
      self->timers.push_back(g_timeout_add(
          200,
          [](gpointer m) -> gboolean {
            auto* message = static_cast<SoupServerMessage*>(m);
            if (GIOStream* stream = soup_server_message_steal_connection(message)) {
              g_io_stream_close(stream, nullptr, nullptr);
              g_object_unref(stream);
            }
            g_object_unref(message);
            return G_SOURCE_REMOVE;
          },
          msg));
      return;
    }
    soup_server_message_set_status(msg, 200, nullptr);
    soup_server_message_set_response(msg, page.type.c_str(), SOUP_MEMORY_COPY, page.body.data(),
                                     page.body.size());
    soup_message_headers_append(soup_server_message_get_response_headers(msg), "Cache-Control",
                                "no-store");
    if (page.delay_ms > 0) {
      soup_server_message_pause(msg);
      g_object_ref(msg);
      self->timers.push_back(g_timeout_add(
          page.delay_ms,
          [](gpointer m) -> gboolean {
            auto* message = static_cast<SoupServerMessage*>(m);
            soup_server_message_unpause(message);
            g_object_unref(message);
            return G_SOURCE_REMOVE;
          },
          msg));
    }
  }
};

TestServer::TestServer(Tls tls) : impl_(std::make_unique<Impl>()) {
  GError* error = nullptr;
  GTlsCertificate* certificate = nullptr;
  if (tls == Tls::SelfSigned) {
    certificate = g_tls_certificate_new_from_files(VEL_TEST_TLS_DIR "/cert.pem",
                                                   VEL_TEST_TLS_DIR "/key.pem", &error);
    if (!certificate) throw std::runtime_error(error->message);
  }
  impl_->tls = certificate != nullptr;
  impl_->server = soup_server_new("tls-certificate", certificate, nullptr);
  if (certificate) g_object_unref(certificate);
  const auto options = static_cast<SoupServerListenOptions>(
      SOUP_SERVER_LISTEN_IPV4_ONLY | (impl_->tls ? SOUP_SERVER_LISTEN_HTTPS : 0));
  if (!soup_server_listen_local(impl_->server, 0, options, &error)) {
    std::string message = error ? error->message : "listen failed";
    g_clear_error(&error);
    throw std::runtime_error(message);
  }
  GSList* uris = soup_server_get_uris(impl_->server);
  impl_->port = g_uri_get_port(static_cast<GUri*>(uris->data));
  g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
  soup_server_add_handler(impl_->server, nullptr, &Impl::handle, impl_.get(), nullptr);
}

TestServer::~TestServer() {
  soup_server_disconnect(impl_->server);
  g_object_unref(impl_->server);
}

void TestServer::add_page(const std::string& path, std::string body, std::string content_type) {
  auto& page = impl_->pages[path];
  page.body = std::move(body);
  page.type = std::move(content_type);
}

void TestServer::add_broken_download(const std::string& path, std::size_t declared,
                                     std::size_t sent) {
  impl_->pages[path] = {std::string(sent, 'x'), "application/octet-stream", 0, declared, {}};
}

void TestServer::add_header(const std::string& path, const std::string& name,
                            const std::string& value) {
  impl_->pages[path].headers.emplace_back(name, value);
}

void TestServer::add_slow_page(const std::string& path, std::string body, unsigned delay_ms) {
  auto& page = impl_->pages[path];
  page.body = std::move(body);
  page.type = "text/html";
  page.delay_ms = delay_ms;
}

std::string TestServer::uri(const std::string& path) const {
  return (impl_->tls ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(impl_->port) +
         path;
}

int TestServer::port() const {
  return impl_->port;
}

int TestServer::requests(const std::string& path) const {
  const auto it = impl_->counts.find(path);
  return it == impl_->counts.end() ? 0 : it->second;
}

int TestServer::total_requests() const {
  return impl_->total;
}

std::string titled_page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html><html><head><meta charset='utf-8'><title>" + title +
         "</title></head><body>" + body + "</body></html>";
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

}  // namespace vel::test
