#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace vel {

// Without a GPU, OpenGL on Linux is Mesa's software rasteriser. GTK would still load it (and
// LLVM with it) while opening the display, only to choose a visual, and would then draw our
// windows more slowly than its cairo renderer does. On such machines GTK is kept off OpenGL,
// unless the user asked for a renderer of their own.

// The GDK_DEBUG value that keeps GTK off OpenGL, or nothing when GTK is best left alone.
std::optional<std::string> gdk_debug_without_gl(bool gpu_present, std::string_view gsk_renderer,
                                                std::string_view gdk_debug);

// Whether DRI_DIR holds a GPU render node ("renderD128"...) that this user may open.
bool gpu_render_node_present(const std::string& dri_dir = "/dev/dri");

// Steers GTK off OpenGL for its start-up when the machine has no GPU. GDK reads the setting
// once, while GTK starts; restore() then puts the environment back as it was, so the programs
// this browser starts (a text editor) do not inherit it.
class ToolkitGraphicsChoice {
 public:
  ToolkitGraphicsChoice();
  ~ToolkitGraphicsChoice();
  ToolkitGraphicsChoice(const ToolkitGraphicsChoice&) = delete;
  ToolkitGraphicsChoice& operator=(const ToolkitGraphicsChoice&) = delete;

  void restore();

  // Loads the software OpenGL driver on a thread of its own while GTK starts: the web engine
  // needs it before it can start its page process, and it takes longer to load than GTK takes to
  // start. Does nothing on a machine with a GPU, whose driver GTK loads as it starts.
  void warm_up_software_gl();

 private:
  bool changed_ = false;
  bool no_gpu_ = false;
  std::thread warm_up_;
  std::optional<std::string> previous_;
};

}  // namespace vel
