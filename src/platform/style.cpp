#include "platform/style.h"

#include <gdkmm/display.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/stylecontext.h>

#include "config.h"

namespace vel {

void ensure_style() {
  static bool done = false;
  if (done) return;
  auto display = Gdk::Display::get_default();
  if (!display) return;
  done = true;
  auto css = Gtk::CssProvider::create();
  css->load_from_resource(std::string(config::kResourcePrefix) + "/style.css");
  Gtk::StyleContext::add_provider_for_display(display, css,
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  Gtk::IconTheme::get_for_display(display)->add_resource_path(std::string(config::kResourcePrefix) +
                                                              "/icons");
}

}  // namespace vel
