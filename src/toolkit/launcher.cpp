// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/launcher.h"

#include <gdkmm/display.h>
#include <giomm/appinfo.h>
#include <giomm/file.h>
#include <glibmm/convert.h>
#include <glibmm/uriutils.h>

#include <vector>

#include "toolkit/graphics.h"

namespace vel {
namespace {

// Starts `app` on this display by `start(app, context)`; the launch spawns it and returns, and the
// program runs on its own.
template <class Start>
LaunchResult launch(const Glib::RefPtr<Gio::AppInfo>& app, Start start) {
  Glib::RefPtr<Gio::AppLaunchContext> context;
  if (auto display = Gdk::Display::get_default()) context = display->get_app_launch_context();
  hand_back_graphics_setting(context);
  try {
    if (!start(app, context)) return {false, app->get_display_name() + " could not be started."};
  } catch (const Glib::Error& e) {
    return {false, e.what()};
  }
  return {true, {}};
}

// Starts `app` on one address.
LaunchResult launch_on(const Glib::RefPtr<Gio::AppInfo>& app, const std::string& uri) {
  return launch(app,
                [&uri](const auto& a, const auto& context) { return a->launch_uri(uri, context); });
}

}  // namespace

LaunchResult start_text_editor() {
  const auto app = Gio::AppInfo::get_default_for_type("text/plain", false);
  if (!app) return {false, "There is no application for plain text on this system."};
  return launch(app, [](const auto& a, const auto& context) {
    return a->launch(std::vector<Glib::RefPtr<Gio::File>>{}, context);
  });
}

LaunchResult show_folder(const std::string& folder) {
  std::string uri;
  try {
    uri = Glib::filename_to_uri(folder);  // throws for a path that is not absolute
  } catch (const Glib::Error& e) {
    return {false, e.what()};
  }
  const auto app = Gio::AppInfo::get_default_for_type("inode/directory", true);
  if (!app) return {false, "There is no file manager on this system."};
  return launch_on(app, uri);
}

LaunchResult open_with_desktop(const std::string& uri) {
  const std::string scheme = Glib::uri_parse_scheme(uri);
  const auto app = scheme.empty() ? Glib::RefPtr<Gio::AppInfo>()
                                  : Gio::AppInfo::get_default_for_uri_scheme(scheme);
  if (!app) return {false, "There is no application for \"" + scheme + ":\" addresses."};
  return launch_on(app, uri);
}

}  // namespace vel
