#include "app/application.h"

#include <glibmm/main.h>

#include "browser/form1.h"
#include "config.h"
#include "platform/webkit_engine.h"

namespace vel {

Glib::RefPtr<Application> Application::create(std::string starting_address, EngineFactory engines) {
  return Glib::make_refptr_for_instance<Application>(
      new Application(std::move(starting_address), std::move(engines)));
}

Application::Application(std::string starting_address, EngineFactory engines)
    : Gtk::Application(config::kAppId, Gio::Application::Flags::NON_UNIQUE),
      starting_address_(std::move(starting_address)),
      engines_(engines ? std::move(engines) : EngineFactory(make_webkit_engine)) {}

Application::~Application() = default;

void Application::on_activate() { show_form1(); }

Form1& Application::show_form1() {
  if (form1_) {
    form1_->present();
    return *form1_;
  }
  form1_ = std::make_unique<Form1>(engines_());
  add_window(*form1_);
  form1_->signal_exit().connect([this] { exit_program(); });
  form1_->signal_close_request().connect(
      [this] {
        // Dropped after the close has been handled, not in the middle of it.
        Glib::signal_idle().connect_once([this] { drop_form1(); });
        return false;
      },
      false);
  // The address given on the command line is for the first window only.
  form1_->StartingAddress = std::exchange(starting_address_, {});
  form1_->Form_Load();
  return *form1_;
}

void Application::drop_form1() {
  if (form1_ && !form1_->get_visible()) form1_.reset();
}

void Application::exit_program() {
  for (auto* window : get_windows()) window->hide();
  quit();
}

}  // namespace vel
