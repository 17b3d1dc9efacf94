#pragma once

#include <memory>
#include <string>

#include "browser/form1.h"

namespace vel::test {

// The name of the browser window's control that is uppermost at a point given in twips.
std::string control_at(Form1& form, int x_twips, int y_twips);

class XInput;
class FakeEngine;

// A browser window over a stand-in engine; `engine` is set to it and lives as long as the window.
std::unique_ptr<Form1> form_with_fake_engine(FakeEngine*& engine);

// A real click in the middle of one of the browser window's controls; handled when it returns.
void click_control(XInput& input, Form1& form, const std::string& name);

// The pixel of the client area that holds a point given in twips (its centre).
inline double px_of(int twips) {
  return twips / 15 + 0.5;
}

}  // namespace vel::test
