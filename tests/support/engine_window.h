#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "browser/browser_window.h"
#include "support/window_helpers.h"

namespace vel::test {

// A shown browser window with the real web engine, counting the loads it completes.
struct EngineWindow : ::testing::Test {
  EngineWindow();

  WebEngine& engine() { return window->engine(); }
  std::string title() { return engine().location_name(); }
  std::string url() { return engine().location_url(); }
  // Runs `action` and waits until the load it starts has completed and the engine is idle.
  void load(const std::function<void()>& action);

  std::unique_ptr<BrowserWindow> window;
  int completions = 0;
};

}  // namespace vel::test
