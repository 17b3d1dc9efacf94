// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "engine/engine_settings.h"
#include "engine/web_engine.h"

namespace vel {

// The one web engine of the program, a WebKitWebView. Nothing outside src/platform/ sees WebKit.
std::unique_ptr<WebEngine> make_webkit_engine();
// The same with settings of its own (shorter waits for a test; see engine_settings.h).
std::unique_ptr<WebEngine> make_webkit_engine_with(const EngineSettings& settings);

}  // namespace vel
