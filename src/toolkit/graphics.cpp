// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/graphics.h"

#include <EGL/egl.h>
#include <glib.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

namespace vel {
namespace {

// The variable that tells libglvnd where to look for OpenGL (EGL) drivers.
constexpr const char* kEglDriverDirs = "__EGL_VENDOR_LIBRARY_DIRS";

// libglvnd reads its list of drivers once, at the first EGL call. Make that call now, with the
// list pointed at a place that has none, then put the environment back for child processes.
// A libEGL without libglvnd ignores the variable: it then loads its driver as it always did.
void hide_gl_drivers_from_this_process() {
  const char* dirs = g_getenv(kEglDriverDirs);
  const std::optional<std::string> saved = dirs ? std::optional<std::string>(dirs) : std::nullopt;
  g_setenv(kEglDriverDirs, "/dev/null", TRUE);
  eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (saved)
    g_setenv(kEglDriverDirs, saved->c_str(), TRUE);
  else
    g_unsetenv(kEglDriverDirs);
}

// As GTK reads its flags: any case, separated by any of these.
bool has_flag(std::string_view flags, std::string_view flag) {
  while (!flags.empty()) {
    const auto end = flags.find_first_of(",:; \t");
    const std::string_view word = flags.substr(0, end);
    if (word.size() == flag.size() &&
        g_ascii_strncasecmp(word.data(), flag.data(), flag.size()) == 0)
      return true;
    if (end == std::string_view::npos) break;
    flags.remove_prefix(end + 1);
  }
  return false;
}

// The one record of a choice in force: the user's own value of the setting, which it replaced
// (nothing when it was unset).
struct UsersSetting {
  bool in_force = false;
  std::optional<std::string> value;
};
UsersSetting& users_setting() {
  static UsersSetting setting;
  return setting;
}

}  // namespace

#if GTK_CHECK_VERSION(4, 16, 0)
const ToolkitSwitch kGtkWithoutGl{"GDK_DISABLE", "gl"};
#else
const ToolkitSwitch kGtkWithoutGl{"GDK_DEBUG", "gl-disable"};
#endif

std::optional<std::string> toolkit_setting_without_gl(bool gpu_present,
                                                      std::string_view gsk_renderer,
                                                      std::string_view current) {
  if (gpu_present) return std::nullopt;
  // A renderer the user chose (gl, ngl, vulkan) is theirs to keep; cairo needs no OpenGL.
  if (!gsk_renderer.empty() && !has_flag(gsk_renderer, "cairo")) return std::nullopt;
  if (has_flag(current, kGtkWithoutGl.flag)) return std::nullopt;
  if (current.empty()) return std::string(kGtkWithoutGl.flag);
  return std::string(current) + "," + kGtkWithoutGl.flag;
}

bool gpu_render_node_present(const std::string& dri_dir) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dri_dir, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind("renderD", 0) == 0 && access(it->path().c_str(), R_OK | W_OK) == 0) return true;
  }
  return false;
}

ToolkitGraphicsChoice::ToolkitGraphicsChoice() {
  const char* renderer = g_getenv("GSK_RENDERER");
  const char* current = g_getenv(kGtkWithoutGl.variable);
  const auto value = toolkit_setting_without_gl(gpu_render_node_present(), renderer ? renderer : "",
                                                current ? current : "");
  if (!value) return;
  const std::optional<std::string> users =
      current ? std::optional<std::string>(current) : std::nullopt;
  if (!g_setenv(kGtkWithoutGl.variable, value->c_str(), TRUE)) return;
  users_setting() = {true, users};
  // GTK stays off OpenGL, so nothing in this process is left that would draw with it.
  hide_gl_drivers_from_this_process();
}

ToolkitGraphicsChoice::~ToolkitGraphicsChoice() {
  restore();
}

void ToolkitGraphicsChoice::restore() {
  UsersSetting users = std::exchange(users_setting(), {});
  if (!users.in_force) return;
  if (users.value)
    g_setenv(kGtkWithoutGl.variable, users.value->c_str(), TRUE);
  else
    g_unsetenv(kGtkWithoutGl.variable);
}

void hand_back_graphics_setting(const Glib::RefPtr<Gio::AppLaunchContext>& context) {
  const UsersSetting& users = users_setting();
  if (!context || !users.in_force) return;
  if (users.value)
    context->setenv(kGtkWithoutGl.variable, *users.value);
  else
    context->unsetenv(kGtkWithoutGl.variable);
}

char** hand_back_graphics_setting(char** environment) {
  const UsersSetting& users = users_setting();
  if (!users.in_force) return environment;
  return users.value
             ? g_environ_setenv(environment, kGtkWithoutGl.variable, users.value->c_str(), TRUE)
             : g_environ_unsetenv(environment, kGtkWithoutGl.variable);
}

}  // namespace vel
