// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "engine/web_engine.h"

namespace vel {

// The one web engine of the program, a WebKitWebView. Nothing outside src/platform/ sees WebKit.
std::unique_ptr<WebEngine> make_webkit_engine();

}  // namespace vel
