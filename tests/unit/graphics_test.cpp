// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/graphics.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

using vel::gdk_debug_without_gl;
using vel::gpu_render_node_present;

TEST(Graphics, GtkIsKeptOffGlOnlyWithoutAGpuAndWithoutTheUsersOwnRenderer) {
  EXPECT_EQ(gdk_debug_without_gl(false, "", ""), "gl-disable");
  EXPECT_EQ(gdk_debug_without_gl(false, "cairo", ""), "gl-disable");
  // The user's own debugging flags are kept.
  EXPECT_EQ(gdk_debug_without_gl(false, "", "events"), "events,gl-disable");
  EXPECT_EQ(gdk_debug_without_gl(false, "", "gl-disable"), std::nullopt);
  // A GPU, or a renderer the user chose, and GTK is left as it is.
  EXPECT_EQ(gdk_debug_without_gl(true, "", ""), std::nullopt);
  EXPECT_EQ(gdk_debug_without_gl(false, "ngl", ""), std::nullopt);
  EXPECT_EQ(gdk_debug_without_gl(false, "vulkan", "events"), std::nullopt);
}

TEST(Graphics, OnlyARenderNodeThisUserCanOpenCountsAsAGpu) {
  const auto dir = std::filesystem::temp_directory_path() / ("vel-dri-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  EXPECT_FALSE(gpu_render_node_present(dir.string()));  // empty
  std::ofstream(dir / "card0");
  EXPECT_FALSE(gpu_render_node_present(dir.string()));  // a display device is no render node
  std::ofstream(dir / "renderD128");
  EXPECT_TRUE(gpu_render_node_present(dir.string()));
  if (getuid() != 0) {  // root opens anything
    chmod((dir / "renderD128").c_str(), 0);
    EXPECT_FALSE(gpu_render_node_present(dir.string()));
  }
  std::filesystem::remove_all(dir);
  EXPECT_FALSE(gpu_render_node_present(dir.string()));  // no such directory
}

TEST(Graphics, TheEnvironmentIsPutBackForTheProgramsTheBrowserStarts) {
  const char* saved = g_getenv("GDK_DEBUG");
  const std::string before = saved ? saved : "";
  g_setenv("GDK_DEBUG", "events", TRUE);
  {
    vel::ToolkitGraphicsChoice choice;
    const std::string during = g_getenv("GDK_DEBUG");
    EXPECT_TRUE(during == "events" || during == "events,gl-disable") << during;
    choice.restore();
    EXPECT_STREQ(g_getenv("GDK_DEBUG"), "events");
  }
  g_unsetenv("GDK_DEBUG");
  { vel::ToolkitGraphicsChoice choice; }  // restored by going out of scope
  EXPECT_EQ(g_getenv("GDK_DEBUG"), nullptr);
  // Where child processes look for OpenGL drivers is never changed for them.
  EXPECT_EQ(g_getenv("__EGL_VENDOR_LIBRARY_DIRS"), nullptr);
  g_setenv("__EGL_VENDOR_LIBRARY_DIRS", "/opt/gl", TRUE);
  { vel::ToolkitGraphicsChoice choice; }
  EXPECT_STREQ(g_getenv("__EGL_VENDOR_LIBRARY_DIRS"), "/opt/gl");
  g_unsetenv("__EGL_VENDOR_LIBRARY_DIRS");
  if (saved) g_setenv("GDK_DEBUG", before.c_str(), TRUE);
}
