// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "support/ui_support.h"
#include "webkit/webkit_engine.h"
#include "windows/browser/browser_window.h"

namespace vel::test {

// A shown browser window with the real web engine, counting the loads it completes, a server for
// its pages and real input.
struct EngineWindow : ::testing::Test {
  explicit EngineWindow(std::unique_ptr<WebEngine> engine_used = make_webkit_engine())
      : window(std::make_unique<BrowserWindow>(std::move(engine_used))) {
    window->present_and_open();
    show_and_wait(*window);
    engine().signal_load_finished().connect([this] { ++completions; });
  }

  WebEngine& engine() { return test::Seam::engine(*window); }
  std::string title() { return engine().title(); }
  std::string url() { return engine().uri(); }
  // Runs `action` and waits until the load it starts has completed and the engine is idle.
  void load(const std::function<void()>& action) {
    ASSERT_TRUE(wait_for_load(engine().signal_load_finished(), action) &&
                run_until([&] { return !engine().is_loading(); }))
        << "the load did not end; the engine shows \"" << title() << "\" at " << url();
  }

  // A real click in the middle of one of the window's controls.
  void click(Role role) { click_control(input, *window, role); }
  // The pointer to a point of the page, in pixels from the page view's top left corner; a click
  // there.
  void point_at_page(int x, int y) {
    double left = 0, top = 0;
    test::Seam::control(*window, Role::PageView).translate_coordinates(*window, 0, 0, left, top);
    input.move(*window, int(left) + x, int(top) + y);
  }
  void click_page(int x = 300, int y = 170) {
    point_at_page(x, y);
    input.click();
  }
  // Whether the keyboard is in the widget or in something it holds.
  bool focus_in(Gtk::Widget& widget) {
    const Gtk::Widget* focus = window->get_focus();
    return focus && (focus == &widget || focus->is_ancestor(widget));
  }

  std::unique_ptr<BrowserWindow> window;
  int completions = 0;
  TestServer server;
  XInput input;
};

}  // namespace vel::test
