// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vel {

// Loads the program's style sheet and icon theme path for the default display, once.
void ensure_style();

}  // namespace vel
