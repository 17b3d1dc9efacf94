#include "browser/form1_layout.h"

namespace vel::form1 {

const Control* uppermost_at(int x, int y) {
  for (const Control& c : kControls)
    if (c.rect.contains(x, y)) return &c;
  return nullptr;
}

const Control* find(std::string_view name) {
  for (const Control& c : kControls)
    if (c.name == name) return &c;
  return nullptr;
}

}  // namespace vel::form1
