#pragma once

#include <gtkmm/widget.h>
#include <gtkmm/window.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vel::test {

// Runs the main loop until `done` holds or the deadline passes; true when it holds.
bool run_until(const std::function<bool()>& done,
               std::chrono::milliseconds deadline = std::chrono::seconds(20));
// Runs the main loop for the pending work only (no waiting).
void drain_events();

// Shows the window and waits until it is mapped and has drawn a frame.
void show_and_wait(Gtk::Window& window);

// The widgets under `root` (itself included) that a screen reader would call by their class name,
// having no name of their own; hidden widgets and their insides are left out.
std::vector<std::string> unnamed_for_readers(Gtk::Widget& root);
// An accessible property's value as a string (empty when unset).
std::string accessible_property(Gtk::Widget& widget, GtkAccessibleProperty property);

// Real pointer and keyboard events through the X server (XTest).
class XInput {
 public:
  XInput();
  ~XInput();

  // Screen position of a window's top-left corner.
  std::pair<int, int> origin(Gtk::Window& window);
  // Moves the pointer to (x, y) pixels in the window's client area.
  void move(Gtk::Window& window, int x, int y);
  void move_root(int x, int y);
  void click(int button = 1);
  void press_key(const char* keysym_name, const std::vector<const char*>& modifiers = {});
  // Types text that the US keymap can produce.
  void type(const std::string& text);
  void focus(Gtk::Window& window);
  // Moves a top-level window on the screen (there is no window manager to ask) and waits.
  void move_window(Gtk::Window& window, int x, int y);
  void sync();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A web server on 127.0.0.1 inside the test process. Counts requests per path.
class TestServer {
 public:
  enum class Tls { Off, SelfSigned };
  explicit TestServer(Tls tls = Tls::Off);
  ~TestServer();

  void add_page(const std::string& path, std::string body, std::string content_type = "text/html");
  // A page that is answered only after `delay_ms`.
  void add_slow_page(const std::string& path, std::string body, unsigned delay_ms);
  // A response that promises `declared` bytes, sends `sent` of them and then breaks off.
  void add_broken_download(const std::string& path, std::size_t declared, std::size_t sent);
  // Extra response headers for a path.
  void add_header(const std::string& path, const std::string& name, const std::string& value);
  std::string uri(const std::string& path) const;
  int port() const;
  int requests(const std::string& path) const;
  int total_requests() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A simple page with a title.
std::string titled_page(const std::string& title, const std::string& body = "<p>Hello</p>");

}  // namespace vel::test
