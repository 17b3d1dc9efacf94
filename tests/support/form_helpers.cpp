#include "support/form_helpers.h"

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

}  // namespace vel::test
