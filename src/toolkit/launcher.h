// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vel {

#ifdef _WIN32
// The text editor a Windows build starts, with no arguments.
inline constexpr const char* kEditorPath = "c:\\windows\\notepad.exe";
#endif

struct LaunchResult {
  bool started = false;
  std::string error;  // why not, when not started
};

// Starts the desktop's default application for plain text on a new, empty document (no file is
// passed) and returns without waiting for it.
LaunchResult start_text_editor();

// Shows a folder in the desktop's file manager.
LaunchResult show_folder(const std::string& folder);

// Hands an address of a scheme the browser does not show ("mailto:", "tel:", ...) to the
// desktop's application for that scheme; `started` is false when there is none.
LaunchResult open_with_desktop(const std::string& uri);

}  // namespace vel
