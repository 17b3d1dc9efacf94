// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "windows/browser/browser_window.h"

namespace vel::test {

using browser_layout::Role;

// The browser window's control that is uppermost at a point given in twips; none over a gap.
std::optional<Role> control_at(BrowserWindow& window, int x_twips, int y_twips);

class XInput;
class FakeEngine;

// A browser window over a stand-in engine, opened as at start-up and shown; `engine` is set to
// it and lives as long as the window.
std::unique_ptr<BrowserWindow> window_with_fake_engine(FakeEngine*& engine);

// A real click in the middle of one of the browser window's controls; handled when it returns.
void click_control(XInput& input, BrowserWindow& window, Role role);

// Puts the text into the address box and presses Enter there, as the entry's own activation.
void enter_address(BrowserWindow& window, const std::string& text);

// The address box's list, first entry first, read from the box's own model.
std::vector<std::string> address_list(BrowserWindow& window);

}  // namespace vel::test
