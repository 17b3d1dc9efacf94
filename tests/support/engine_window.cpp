#include "support/engine_window.h"

#include "platform/webkit_engine.h"
#include "support/ui_support.h"

namespace vel::test {

EngineWindow::EngineWindow() : window(std::make_unique<BrowserWindow>(make_webkit_engine())) {
  window->load();
  show_and_wait(*window);
  engine().signal_load_finished().connect([this] { ++completions; });
}

void EngineWindow::load(const std::function<void()>& action) {
  const int before = completions;
  action();
  ASSERT_TRUE(run_until([&] { return completions > before && !engine().busy(); }))
      << "the load did not end";
}

}  // namespace vel::test
