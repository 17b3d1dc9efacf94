// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/control_table.h"
#include "core/twips.h"
#include "windows/clock/hand.h"

namespace vel::clock_layout {

enum class Kind { Window, Button, Label, Line, Timer };
// Window: the window font, for the read-outs and their captions. Small: the button and numerals.
enum class Font { Window, Small };
// Line colours: the system window-text colour, or one of two system greys.
enum class LineColour { WindowText, ButtonFace, InactiveBorder };

struct Rgb {
  std::uint8_t r, g, b;
};

inline constexpr Rgb kGreen{0, 192, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kLavender{192, 192, 255};

// Everything about one control of the clock window.
struct Control {
  // The control's name in the original design, kept so that a reader holding the design finds
  // it. Only this column uses those names; the program knows controls by their role.
  std::string_view design_name;
  // What the control is for; also its widget name and CSS selector.
  std::string_view role;
  Kind kind;
  TwipsRect rect{};  // the window: its client area; lines and timers: none
  std::string_view caption{};
  std::optional<Rgb> text{};        // none: the system default
  std::optional<Rgb> background{};  // none: transparent (labels) or the system default (button)
  Font font = Font::Window;
  std::string_view accessible_name{};  // for screen readers; empty: none yet
  LineCoords line{};                   // lines: the end points at design time
  LineColour line_colour = LineColour::WindowText;
  unsigned interval_ms = 0;  // timers
};

// The window first, then every control, uppermost first, then the timers. The hand lies over the
// white face and under the numerals; the frame lines lie under the face, which covers only their
// inside.
inline constexpr std::array<Control, 31> kControls{{
    // clang-format off
    {"Form3", "clock-window", Kind::Window, {0, 0, 4680, 3195}, "Time Zone", {}, kLavender,
     Font::Window},
    {"Command1", "back-button", Kind::Button, {3720, 120, 855, 375}, "Back", {}, {}, Font::Small,
     "Back"},
    {"Label17", "numeral-11", Kind::Label, {720, 1320, 375, 255}, "11", kGreen, {}, Font::Small},
    {"Label16", "numeral-10", Kind::Label, {480, 1560, 375, 255}, "10", kGreen, {}, Font::Small},
    {"Label15", "numeral-9", Kind::Label, {480, 1920, 375, 255}, "9", kGreen, {}, Font::Small},
    {"Label14", "numeral-8", Kind::Label, {480, 2280, 375, 255}, "8", kGreen, {}, Font::Small},
    {"Label13", "numeral-7", Kind::Label, {840, 2520, 375, 255}, "7", kGreen, {}, Font::Small},
    {"Label12", "numeral-6", Kind::Label, {1320, 2520, 375, 255}, "6", kGreen, {}, Font::Small},
    {"Label11", "numeral-5", Kind::Label, {1680, 2520, 375, 255}, "5", kGreen, {}, Font::Small},
    {"Label10", "numeral-4", Kind::Label, {2040, 2280, 375, 255}, "4", kGreen, {}, Font::Small},
    {"Label9", "numeral-3", Kind::Label, {2040, 1920, 375, 255}, "3", kGreen, {}, Font::Small},
    {"Label8", "numeral-2", Kind::Label, {2040, 1560, 375, 255}, "2", kGreen, {}, Font::Small},
    {"Label7", "numeral-1", Kind::Label, {1680, 1320, 375, 255}, "1", kGreen, {}, Font::Small},
    {"Label6", "numeral-12", Kind::Label, {1200, 1320, 375, 255}, "12", kGreen, {}, Font::Small},
    {"Line10", "hand", Kind::Line, {}, {}, {}, {}, Font::Window, {}, {1320, 2040, 1320, 1680}},
    {"Label5", "face", Kind::Label, {360, 1320, 1935, 1455}, {}, {}, kWhite, Font::Window, "Clock"},
    {"Line9", "frame-9", Kind::Line, {}, {}, {}, {}, Font::Window, {}, {240, 1200, 2400, 1200},
     LineColour::ButtonFace},
    {"Line8", "frame-8", Kind::Line, {}, {}, {}, {}, Font::Window, {}, {2400, 1215, 240, 1215}},
    {"Line4", "frame-4", Kind::Line, {}, {}, {}, {}, Font::Window, {}, {240, 2860, 2400, 2860},
     LineColour::ButtonFace},
    {"Line7", "frame-7", Kind::Line, {}, {}, {}, {}, Font::Window, {}, {240, 1200, 245, 2880},
     LineColour::InactiveBorder},
    {"Line6", "frame-6", Kind::Line, {}, {}, {}, {}, Font::Window, {}, {255, 1200, 255, 2880}},
    {"Line5", "frame-5", Kind::Line, {}, {}, {}, {}, Font::Window, {}, {2380, 1200, 2385, 2880},
     LineColour::InactiveBorder},
    {"Line3", "frame-3", Kind::Line, {}, {}, {}, {}, Font::Window, {}, {2400, 2880, 240, 2880}},
    {"Line2", "frame-2", Kind::Line, {}, {}, {}, {}, Font::Window, {}, {2400, 1200, 2400, 2880}},
    {"Line1", "frame-1", Kind::Line, {}, {}, {}, {}, Font::Window, {}, {240, 1200, 2400, 1200}},
    {"Label4", "date-readout", Kind::Label, {2040, 600, 1335, 255}, {}, kBlack, kWhite,
     Font::Window, "Date"},
    {"Label3", "date-caption", Kind::Label, {840, 600, 1095, 255}, "Date ", kBlue, {},
     Font::Window},
    {"Label2", "time-readout", Kind::Label, {2040, 240, 1335, 255}, {}, kBlack, kWhite,
     Font::Window, "Local Time"},
    {"Label1", "time-caption", Kind::Label, {840, 240, 1095, 255}, "Local Time ", kBlue, {},
     Font::Window},
    {"Timer1", "readout-timer", Kind::Timer, {}, {}, {}, {}, Font::Window, {}, {}, {}, 100},
    {"Timer2", "hand-timer", Kind::Timer, {}, {}, {}, {}, Font::Window, {}, {}, {}, 1},
    // clang-format on
}};

// Fixed stand-ins for the system colours.
constexpr Rgb colour_of(LineColour c) {
  switch (c) {
    case LineColour::ButtonFace:
      return {212, 208, 200};
    case LineColour::InactiveBorder:
      return {180, 180, 180};
    case LineColour::WindowText:
      break;
  }
  return kBlack;
}

static_assert(each_role_once(kControls));
static_assert(kControls[0].kind == Kind::Window, "the window's row comes first");

// The row of the control with this role. Compile-time only: an unknown role does not compile.
consteval std::size_t index_of(std::string_view role) {
  return row_index(kControls, role);
}
consteval const Control& control(std::string_view role) {
  return kControls[index_of(role)];
}

}  // namespace vel::clock_layout
