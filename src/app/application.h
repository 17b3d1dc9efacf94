#pragma once

#include <gtkmm/application.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/web_engine.h"

namespace vel {

class Form1;

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

  // Ends the program at once: every window closes.
  void exit_program();

 protected:
  Application(std::string starting_address, EngineFactory engines);
  void on_activate() override;

 private:
  void drop_form1();

  std::string starting_address_;
  EngineFactory engines_;
  std::unique_ptr<Form1> form1_;
};

}  // namespace vel
