// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <giomm/applaunchcontext.h>

#include <optional>
#include <string>
#include <string_view>

namespace vel {

// Without a GPU, OpenGL on Linux is Mesa's software rasteriser. Loading it (and LLVM with it)
// costs this process tens of megabytes and a tenth of a second, and nothing here needs it: GTK
// would load it while opening the display only to choose a visual, and then draw our windows
// more slowly with it than with cairo; the web engine's window side would load it only to ask
// which GPU to give its page process, and the answer is none. On such machines GTK is kept off
// OpenGL and this process finds no OpenGL driver at all. The engine's page processes inherit the
// setting, so their GTK does not prepare OpenGL either (about 90 ms and 6 MB each), and still
// find the driver the engine itself may draw pages with. Programs this browser starts get the
// user's own setting back (hand_back_graphics_setting). With a GPU, or when the user chose a GTK
// renderer, nothing changes.

// The environment variable and its flag that keep GTK off OpenGL: GDK_DEBUG=gl-disable up to
// GTK 4.14; GTK 4.16 moved the switches that turn a feature off to GDK_DISABLE (gl) and rejects
// the old flag.
struct ToolkitSwitch {
  const char* variable;
  const char* flag;
};
extern const ToolkitSwitch kGtkWithoutGl;

// The value of kGtkWithoutGl.variable that keeps GTK off OpenGL, given its value now (flags the
// user set are kept; GTK reads them in any case, separated by commas, colons, semicolons or
// spaces), or nothing when GTK is best left alone.
std::optional<std::string> toolkit_setting_without_gl(bool gpu_present,
                                                      std::string_view gsk_renderer,
                                                      std::string_view current);

// Whether DRI_DIR holds a GPU render node ("renderD128"...) that this user may open.
bool gpu_render_node_present(const std::string& dri_dir = "/dev/dri");

// Makes the choice for this process and the engine's page processes; must come before GTK
// starts; one at a time. The setting stays in the environment until restore() (or the end of the
// choice) puts it back as it was.
class ToolkitGraphicsChoice {
 public:
  ToolkitGraphicsChoice();
  ~ToolkitGraphicsChoice();
  ToolkitGraphicsChoice(const ToolkitGraphicsChoice&) = delete;
  ToolkitGraphicsChoice& operator=(const ToolkitGraphicsChoice&) = delete;

  void restore();
};

// Gives a program about to be started (a text editor, a file manager) the user's own setting of
// kGtkWithoutGl.variable, not the one a ToolkitGraphicsChoice put in force.
void hand_back_graphics_setting(const Glib::RefPtr<Gio::AppLaunchContext>& context);
// The same for an environment list of GLib's (g_get_environ()); returns the list, as
// g_environ_setenv() does.
char** hand_back_graphics_setting(char** environment);

}  // namespace vel
