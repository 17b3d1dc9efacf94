#include "support/engine_window.h"

#include "platform/webkit_engine.h"
#include "support/ui_support.h"

namespace vel::test {

EngineWindow::EngineWindow() : form(std::make_unique<Form1>(make_webkit_engine())) {
  form->Form_Load();
  show_and_wait(*form);
  engine().signal_load_finished().connect([this] { ++completions; });
}

void EngineWindow::load(const std::function<void()>& action) {
  ASSERT_TRUE(wait_for_load(engine().signal_load_finished(), action) &&
              run_until([&] { return !engine().busy(); }))
      << "the load did not end";
}

}  // namespace vel::test
