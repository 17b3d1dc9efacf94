// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window_helpers.h"

#include "support/fake_engine.h"
#include "support/ui_support.h"

namespace vel::test {

std::optional<Role> control_at(BrowserWindow& window, int x_twips, int y_twips) {
  // The centre of the pixel that holds the point; the browser window has no frame.
  for (Gtk::Widget* w = window.pick(x_twips / kTwipsPerPixel + 0.5, y_twips / kTwipsPerPixel + 0.5);
       w; w = w->get_parent()) {
    for (const auto& c : browser_layout::kControls)
      if (&window.control(c.role) == w) return c.role;
    if (w == &window) break;
  }
  return std::nullopt;
}

std::unique_ptr<BrowserWindow> window_with_fake_engine(FakeEngine*& engine) {
  auto owned = std::make_unique<FakeEngine>();
  engine = owned.get();
  auto window = std::make_unique<BrowserWindow>(std::move(owned));
  window->present_and_open();
  show_and_wait(*window);
  return window;
}

void click_control(XInput& input, BrowserWindow& window, Role role) {
  input.click(window, window.control(role));
  drain_events();
}

void enter_address(BrowserWindow& window, const std::string& text) {
  Gtk::Entry& entry = *window.address_box().get_entry();
  entry.set_text(text);
  g_signal_emit_by_name(entry.gobj(), "activate");
}

std::vector<std::string> address_list(BrowserWindow& window) {
  std::vector<std::string> items;
  auto model = window.address_box().get_model();
  for (const auto& row : model->children()) {
    Glib::ustring text;
    row.get_value(0, text);
    items.push_back(text);
  }
  return items;
}

}  // namespace vel::test
