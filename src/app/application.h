#pragma once

#include <gtkmm/application.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/web_engine.h"

namespace vel {

class Form1;
class Form2;
class ClockWindow;

// The application owns at most one of each window and hands it out: showing a window that does
// not exist creates it; a window closed by the user is dropped.
class Application : public Gtk::Application {
 public:
  using EngineFactory = std::function<std::unique_ptr<WebEngine>()>;

  static Glib::RefPtr<Application> create(std::string starting_address = {},
                                          EngineFactory engines = {});
  ~Application() override;

  // The browser window, created and loaded when there is none.
  Form1& show_form1();
  Form1* form1() const { return form1_.get(); }

  // The clock window, created when there is none, shown modeless.
  ClockWindow& show_clock_window();
  ClockWindow* clock_window() const { return clock_window_.get(); }

  // The About window, created hidden when there is none; the browser window shows it.
  Form2& about_window();
  Form2* form2() const { return form2_.get(); }

  // Ends the program at once: every window closes.
  void exit_program();

 protected:
  Application(std::string starting_address, EngineFactory engines);
  void on_activate() override;
  void on_startup() override;

 private:
  template <class Window>
  void drop_when_closed(std::unique_ptr<Window>& slot);

  std::string starting_address_;
  EngineFactory engines_;
  // The first window's engine, already opening the starting address while GTK builds that window.
  std::unique_ptr<WebEngine> first_engine_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<ClockWindow> clock_window_;
  std::unique_ptr<Form2> form2_;
};

}  // namespace vel
