// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace vel {

// Sets up what every view of the program shares, once: the "vel:" pages served from the
// program's resources, and certificate errors that fail closed.
void set_up_web_context();

// A page that says `title` and `text`, shown in the view in place of one that could not be: with
// the address that failed, when there is one, and an address the user may try instead.
std::string message_page(std::string_view title, std::string_view text,
                         std::string_view address = {}, std::string_view alternative = {});

// The page shown in place of a web page while working offline.
std::string offline_page();

}  // namespace vel
