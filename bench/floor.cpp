// SPDX-License-Identifier: GPL-3.0-or-later
// The floor the browser is measured against: the smallest gtkmm + WebKitGTK program that opens an
// address and shows the page title in its caption once the page has loaded.
#include <gtkmm/application.h>
#include <gtkmm/window.h>
#include <webkit/webkit.h>

#include <string>

namespace {

class FloorWindow : public Gtk::Window {
 public:
  explicit FloorWindow(const std::string& address) {
    set_default_size(640, 480);
    set_title("Floor");
    auto* view = WEBKIT_WEB_VIEW(webkit_web_view_new());
    set_child(*Glib::wrap(GTK_WIDGET(view)));
    g_signal_connect(view, "load-changed", G_CALLBACK(on_load_changed), this);
    g_signal_connect(view, "notify::title", G_CALLBACK(on_title), this);
    webkit_web_view_load_uri(view, address.c_str());
  }

 private:
  static void on_load_changed(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
    if (event != WEBKIT_LOAD_FINISHED) return;
    auto* window = static_cast<FloorWindow*>(self);
    window->loaded_ = true;
    window->show_title(view);
  }

  // The engine may name the page just after the load has finished.
  static void on_title(WebKitWebView* view, GParamSpec*, gpointer self) {
    auto* window = static_cast<FloorWindow*>(self);
    if (window->loaded_) window->show_title(view);
  }

  void show_title(WebKitWebView* view) {
    const char* title = webkit_web_view_get_title(view);
    if (title && *title) set_title(title);
  }

  bool loaded_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  const std::string address = argc > 1 ? argv[1] : "about:blank";
  auto app =
      Gtk::Application::create("org.velbrowser.BenchFloor", Gio::Application::Flags::NON_UNIQUE);
  char* program[] = {argv[0], nullptr};
  return app->make_window_and_run<FloorWindow>(1, program, address);
}
