#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "browser/form1.h"
#include "platform/webkit_engine.h"
#include "support/ui_support.h"

namespace vel::test {

// A shown browser window with the real web engine, counting the loads it completes.
struct EngineWindow : ::testing::Test {
  EngineWindow() : form(std::make_unique<Form1>(make_webkit_engine())) {
    form->Form_Load();
    show_and_wait(*form);
    engine().signal_load_finished().connect([this] { ++completions; });
  }

  WebEngine& engine() { return form->brwWebBrowser(); }
  std::string title() { return engine().location_name(); }
  std::string url() { return engine().location_url(); }
  // Runs `action` and waits until the load it starts has completed and the engine is idle.
  void load(const std::function<void()>& action) {
    ASSERT_TRUE(wait_for_load(engine().signal_load_finished(), action) &&
                run_until([&] { return !engine().busy(); }))
        << "the load did not end";
  }

  std::unique_ptr<Form1> form;
  int completions = 0;
};

}  // namespace vel::test
