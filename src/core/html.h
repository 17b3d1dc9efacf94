// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace vel {

// Text made safe to stand in HTML, in an element or in a quoted attribute.
std::string html_escape(std::string_view text);

}  // namespace vel
