#include "app/application.h"

#include <glibmm/main.h>

#include "about/form2.h"
#include "browser/form1.h"
#include "clock/clock_window.h"
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

// Closing a window only hides it; it is dropped right after the close has been handled, which
// destroys it whole (timers, engine). A window GTK destroyed by itself would leave a dead object
// behind for the next show.
template <class Window>
void Application::drop_when_closed(std::unique_ptr<Window>& slot) {
  slot->set_hide_on_close(true);
  slot->signal_close_request().connect(
      [&slot] {
        Glib::signal_idle().connect_once([&slot] {
          if (slot && !slot->get_visible()) slot.reset();
        });
        return false;
      },
      false);
}

void Application::on_startup() {
  // The page process takes longer to start than the window takes to build: set it going first,
  // even before the application has finished starting (GTK itself is up by now).
  if (!starting_address_.empty()) {
    first_engine_ = engines_();
    first_engine_->prepare(starting_address_);
  }
  Gtk::Application::on_startup();
}

void Application::on_activate() {
  show_form1();
}

Form1& Application::show_form1() {
  if (form1_) {
    form1_->present();
    return *form1_;
  }
  form1_ = std::make_unique<Form1>(first_engine_ ? std::move(first_engine_) : engines_());
  add_window(*form1_);
  form1_->signal_exit().connect([this] { exit_program(); });
  form1_->signal_time_zone().connect([this] { show_clock_window(); });
  form1_->set_about_window([this]() -> Form2& { return about_window(); });
  drop_when_closed(form1_);
  // The address given on the command line is for the first window only.
  form1_->StartingAddress = std::exchange(starting_address_, {});
  form1_->Form_Load();
  return *form1_;
}

ClockWindow& Application::show_clock_window() {
  if (!clock_window_) {
    clock_window_ = std::make_unique<ClockWindow>();
    add_window(*clock_window_);
    clock_window_->signal_show_browser().connect([this] { show_form1(); });
    // Closed, it is dropped: its timers stop and the next opening starts afresh.
    drop_when_closed(clock_window_);
  }
  clock_window_->present();
  return *clock_window_;
}

Form2& Application::about_window() {
  if (form2_) return *form2_;
  form2_ = std::make_unique<Form2>();
  add_window(*form2_);
  form2_->signal_show_form1().connect([this] { show_form1(); });
  form2_->signal_enable_timer1().connect([this] {
    if (form1_) form1_->Timer1().set_enabled(true);
  });
  // The close box runs none of the OK steps: the window is simply dropped.
  drop_when_closed(form2_);
  return *form2_;
}

void Application::exit_program() {
  for (auto* window : get_windows()) window->hide();
  quit();
}

}  // namespace vel
