// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

#include "core/control_table.h"
#include "core/twips.h"

namespace vel::about_layout {

inline constexpr const char* kCaption = "About Vel Browser";
inline constexpr const char* kIconName = "org.velbrowser.VelBrowser-about";

// The client area as stored with the window; opening resizes it at once.
inline constexpr TwipsRect kClientArea{3045, 1335, 780, 30};

enum class Role { Credits, Notice, OkButton };

struct Control {
  std::string_view design_name;  // the control's name in the original window design
  Role role;
  std::string_view id;  // widget name
  TwipsRect rect;
};

// The two texts and the button, at their rectangles in the client area, in tab order.
inline constexpr std::array<Control, 3> kControls{{
    {"Label1", Role::Credits, "credits", {240, 120, 2895, 855}},
    {"Label2", Role::Notice, "notice", {480, 1200, 2055, 615}},
    {"Command1", Role::OkButton, "ok-button", {1080, 2040, 855, 375}},
}};

static_assert(each_role_once(kControls, Role::OkButton));

constexpr const Control& row(Role role) {
  return kControls[row_index(kControls, role)];
}

// The four lines, drawn in this order, so each dark line lies over the light one beside it. Lines
// with line attribute 2 are drawn two pixels wide.
struct Line {
  std::string_view design_name;
  int x1, y1, x2, y2;
  int grey;   // red, green and blue alike
  int width;  // pixels
};
inline constexpr std::array<Line, 4> kLines{{
    {"Line1", 0, 360, 1800, 360, 64, 1},
    {"Line2", 0, 375, 1800, 375, 128, 2},
    {"Line3", 0, 1080, 3000, 1080, 128, 2},
    {"Line4", 0, 1080, 3000, 1080, 64, 1},
}};

// Pure blue, the rights notice's text colour.
inline constexpr int kNoticeRed = 0, kNoticeGreen = 0, kNoticeBlue = 255;

}  // namespace vel::about_layout
