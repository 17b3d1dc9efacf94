#include "app/application.h"

#include <glibmm/main.h>

#include "about/form2.h"
#include "browser/form1.h"
#include "clock/form3.h"
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

void Application::on_activate() {
  show_form1();
}

Form1& Application::show_form1() {
  if (form1_) {
    form1_->present();
    return *form1_;
  }
  form1_ = std::make_unique<Form1>(engines_());
  add_window(*form1_);
  form1_->signal_exit().connect([this] { exit_program(); });
  form1_->signal_time_zone().connect([this] { show_form3(); });
  form1_->set_about_window([this]() -> Form2& { return about_window(); });
  // Closing only hides it; dropping it then destroys it whole, engine included. A window GTK
  // destroyed itself would leave a dead object behind for the next show.
  form1_->set_hide_on_close(true);
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

Form3& Application::show_form3() {
  if (!form3_) {
    form3_ = std::make_unique<Form3>();
    add_window(*form3_);
    form3_->signal_show_browser().connect([this] { show_form1(); });
    // The close box hides it; it is dropped right after, which stops its timers.
    form3_->set_hide_on_close(true);
    form3_->signal_close_request().connect(
        [this] {
          Glib::signal_idle().connect_once([this] { drop_form3(); });
          return false;
        },
        false);
  }
  form3_->present();
  return *form3_;
}

void Application::drop_form3() {
  // Closed by the user: the next opening starts afresh.
  if (form3_ && !form3_->get_visible()) form3_.reset();
}

Form2& Application::about_window() {
  if (form2_) return *form2_;
  form2_ = std::make_unique<Form2>();
  add_window(*form2_);
  form2_->signal_show_form1().connect([this] { show_form1(); });
  form2_->signal_enable_timer1().connect([this] {
    if (form1_) form1_->Timer1().set_enabled(true);
  });
  // The close box only hides; the window is dropped afterwards, without the OK steps.
  form2_->set_hide_on_close(true);
  form2_->signal_close_request().connect(
      [this] {
        Glib::signal_idle().connect_once([this] { drop_form2(); });
        return false;
      },
      false);
  return *form2_;
}

void Application::drop_form2() {
  if (form2_ && !form2_->get_visible()) form2_.reset();
}

void Application::drop_form1() {
  if (form1_ && !form1_->get_visible()) form1_.reset();
}

void Application::exit_program() {
  for (auto* window : get_windows()) window->hide();
  quit();
}

}  // namespace vel
