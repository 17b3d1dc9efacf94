#pragma once

#include <string>

#include "browser/form1.h"

namespace vel::test {

// The name of the browser window's control that is uppermost at a point given in twips.
std::string control_at(Form1& form, int x_twips, int y_twips);

class XInput;

// A real click in the middle of one of the browser window's controls; handled when it returns.
void click_control(XInput& input, Form1& form, const std::string& name);

// The pixel of the client area that holds a point given in twips (its centre).
inline double px_of(int twips) {
  return twips / 15 + 0.5;
}

}  // namespace vel::test
