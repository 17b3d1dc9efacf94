#include "platform/graphics.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <glib.h>
#include <unistd.h>

#include <filesystem>

namespace vel {

std::optional<std::string> gdk_debug_without_gl(bool gpu_present, std::string_view gsk_renderer,
                                                std::string_view gdk_debug) {
  if (gpu_present) return std::nullopt;
  // A renderer the user chose (gl, ngl, vulkan) is theirs to keep; cairo needs no OpenGL.
  if (!gsk_renderer.empty() && gsk_renderer != "cairo") return std::nullopt;
  if (gdk_debug.find("gl-disable") != std::string_view::npos) return std::nullopt;
  if (gdk_debug.empty()) return std::string("gl-disable");
  return std::string(gdk_debug) + ",gl-disable";
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
  const char* debug = g_getenv("GDK_DEBUG");
  no_gpu_ = !gpu_render_node_present();
  const auto value = gdk_debug_without_gl(!no_gpu_, renderer ? renderer : "", debug ? debug : "");
  if (!value) return;
  if (debug) previous_ = debug;
  changed_ = g_setenv("GDK_DEBUG", value->c_str(), TRUE);
}

ToolkitGraphicsChoice::~ToolkitGraphicsChoice() {
  restore();
  if (warm_up_.joinable()) warm_up_.join();
}

void ToolkitGraphicsChoice::warm_up_software_gl() {
  if (!no_gpu_ || warm_up_.joinable()) return;
  warm_up_ = std::thread([] {
    // A display of no window system: it loads the driver without a second X connection. It stays
    // initialised, so the driver stays loaded for the engine.
    EGLDisplay display =
        eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display != EGL_NO_DISPLAY) eglInitialize(display, nullptr, nullptr);
  });
}

void ToolkitGraphicsChoice::restore() {
  if (!changed_) return;
  changed_ = false;
  if (previous_)
    g_setenv("GDK_DEBUG", previous_->c_str(), TRUE);
  else
    g_unsetenv("GDK_DEBUG");
}

}  // namespace vel
