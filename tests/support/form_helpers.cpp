#include "support/form_helpers.h"

#include <gtest/gtest.h>

#include "support/fake_engine.h"
#include "support/ui_support.h"

namespace vel::test {

std::string control_at(Form1& form, int x_twips, int y_twips) {
  double x = px_of(x_twips), y = px_of(y_twips);
  // Window coordinates include no frame: the browser window has none.
  for (Gtk::Widget* w = form.pick(x, y, Gtk::PickFlags::DEFAULT); w; w = w->get_parent()) {
    const std::string name = w->get_name();
    if (form.control(name) == w) return name;
    if (w == &form) break;
  }
  return "";
}

std::unique_ptr<Form1> form_with_fake_engine(FakeEngine*& engine) {
  auto owned = std::make_unique<FakeEngine>();
  engine = owned.get();
  return std::make_unique<Form1>(std::move(owned));
}

void click_control(XInput& input, Form1& form, const std::string& name) {
  Gtk::Widget* spot = form.control(name);
  ASSERT_NE(spot, nullptr) << name;
  double x = 0, y = 0;
  ASSERT_TRUE(
      spot->translate_coordinates(form, spot->get_width() / 2.0, spot->get_height() / 2.0, x, y));
  input.move(form, static_cast<int>(x), static_cast<int>(y));
  input.click();
  drain_events();
}

}  // namespace vel::test
