// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/style.h"

#include <gdkmm/display.h>
#include <gtk/gtk.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/stylecontext.h>
#include <gtkmm/window.h>

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
  // Overlay scrollbars fade out for seconds after every load and scroll, and without GPU
  // compositing the engine repaints the whole page for each frame of the fade: a third of a core
  // spent on an animation. Classic scrollbars stand still.
  g_object_set(gtk_settings_get_for_display(display->gobj()), "gtk-overlay-scrolling", FALSE,
               nullptr);
  // The program's icons travel inside it (laid out as the hicolor theme's folders), so windows
  // show them when run from the build tree too.
  Gtk::IconTheme::get_for_display(display)->add_resource_path(std::string(config::kResourcePrefix) +
                                                              "/icons");
  // Windows that name no icon of their own (dialogs) show the program's.
  Gtk::Window::set_default_icon_name(config::kAppId);
}

}  // namespace vel
