// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "webkit/engine_settings.h"

typedef struct _WebKitWebContext WebKitWebContext;

namespace vel {

// Sets up what every view of the program shares, once, and returns it: the "vel:" pages served
// from the program's resources, certificate errors that fail closed, and the memory limit of the
// pages' processes (the first call's; later ones get the same context).
WebKitWebContext* set_up_web_context(const MemoryLimitSettings& memory = {});

// A page that says `title` and `text`, shown in the view in place of one that could not be: with
// the address that failed, when there is one, and an address the user may try instead.
std::string message_page(std::string_view title, std::string_view text,
                         std::string_view address = {}, std::string_view alternative = {});

// The page shown in place of a web page while working offline.
std::string offline_page();

}  // namespace vel
