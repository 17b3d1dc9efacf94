// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "engine/web_engine.h"
#include "webkit/engine_settings.h"

namespace vel {

// The one web engine of the program, a WebKitWebView. Nothing outside src/engine/ sees WebKit.
// The settings are the program's own unless a test shortens its waits (see engine_settings.h).
std::unique_ptr<WebEngine> make_webkit_engine(const EngineSettings& settings = {});

}  // namespace vel
