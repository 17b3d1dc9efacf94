#pragma once

#include <array>
#include <string_view>

#include "platform/twips.h"

namespace vel::form2 {

inline constexpr const char* kCaption = "About Vel Browser";
inline constexpr const char* kIconName = "org.velbrowser.VelBrowser-about";

// The client area as stored with the window; opening resizes it at once.
inline constexpr TwipsRect kClientArea{3045, 1335, 780, 30};

// The two labels and the button, at their rectangles in the client area.
inline constexpr TwipsRect kLabel1{240, 120, 2895, 855};
inline constexpr TwipsRect kLabel2{480, 1200, 2055, 615};
inline constexpr TwipsRect kCommand1{1080, 2040, 855, 375};

// The four lines, drawn in this order, so each dark line lies over the light one beside it. Lines
// with line attribute 2 are drawn two pixels wide.
struct Line {
  std::string_view name;
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

}  // namespace vel::form2
