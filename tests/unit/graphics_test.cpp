// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/graphics.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

using vel::gpu_render_node_present;
using vel::toolkit_setting_without_gl;

// GTK 4.16 took the switch out of GDK_DEBUG and rejects it there; GDK_DISABLE takes it instead.
#if GTK_CHECK_VERSION(4, 16, 0)
constexpr const char* kVariable = "GDK_DISABLE";
constexpr const char* kOff = "gl";
constexpr const char* kOffUpper = "GL";
constexpr const char* kOther = "vulkan";  // another feature turned off
constexpr const char* kNearMiss = "gl-fractional";
#else
constexpr const char* kVariable = "GDK_DEBUG";
constexpr const char* kOff = "gl-disable";
constexpr const char* kOffUpper = "GL-Disable";
constexpr const char* kOther = "events";  // another debugging flag
constexpr const char* kNearMiss = "gl-prefer-gl";
#endif

TEST(Graphics, GtkIsKeptOffGlOnlyWithoutAGpuAndWithoutTheUsersOwnRenderer) {
  const std::string off = kOff;
  EXPECT_EQ(toolkit_setting_without_gl(false, "", ""), off);
  EXPECT_EQ(toolkit_setting_without_gl(false, "cairo", ""), off);
  // The user's own flags are kept; one that only begins like ours is another flag.
  EXPECT_EQ(toolkit_setting_without_gl(false, "", kOther), std::string(kOther) + "," + off);
  EXPECT_EQ(toolkit_setting_without_gl(false, "", kNearMiss), std::string(kNearMiss) + "," + off);
  EXPECT_EQ(toolkit_setting_without_gl(false, "", off), std::nullopt);
  EXPECT_EQ(toolkit_setting_without_gl(false, "", std::string(kOther) + "," + off), std::nullopt);
  // GTK reads flags in any case, between commas, colons, semicolons or spaces.
  EXPECT_EQ(toolkit_setting_without_gl(false, "", std::string(kOther) + ": " + kOffUpper),
            std::nullopt);
  EXPECT_EQ(toolkit_setting_without_gl(false, "Cairo", ""), off);
  // A GPU, or a renderer the user chose, and GTK is left as it is.
  EXPECT_EQ(toolkit_setting_without_gl(true, "", ""), std::nullopt);
  EXPECT_EQ(toolkit_setting_without_gl(false, "ngl", ""), std::nullopt);
  EXPECT_EQ(toolkit_setting_without_gl(false, "vulkan", kOther), std::nullopt);
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
  const char* saved = g_getenv(kVariable);
  const std::string before = saved ? saved : "";
  g_setenv(kVariable, kOther, TRUE);
  {
    vel::ToolkitGraphicsChoice choice;
    const std::string during = g_getenv(kVariable);
    EXPECT_TRUE(during == kOther || during.starts_with(std::string(kOther) + ",")) << during;
    // A program the browser starts gets the user's own setting.
    char** child = vel::hand_back_graphics_setting(g_get_environ());
    EXPECT_STREQ(g_environ_getenv(child, kVariable), kOther);
    g_strfreev(child);
    choice.restore();
    EXPECT_STREQ(g_getenv(kVariable), kOther);
  }
  g_unsetenv(kVariable);
  { vel::ToolkitGraphicsChoice choice; }  // restored by going out of scope
  EXPECT_EQ(g_getenv(kVariable), nullptr);
  // Where child processes look for OpenGL drivers is never changed for them.
  EXPECT_EQ(g_getenv("__EGL_VENDOR_LIBRARY_DIRS"), nullptr);
  g_setenv("__EGL_VENDOR_LIBRARY_DIRS", "/opt/gl", TRUE);
  { vel::ToolkitGraphicsChoice choice; }
  EXPECT_STREQ(g_getenv("__EGL_VENDOR_LIBRARY_DIRS"), "/opt/gl");
  g_unsetenv("__EGL_VENDOR_LIBRARY_DIRS");
  if (saved) g_setenv(kVariable, before.c_str(), TRUE);
}
