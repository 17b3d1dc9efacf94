#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "clock/hand.h"
#include "platform/twips.h"

namespace vel::form3 {

enum class Kind { Button, Label, Line };
enum class Font { W, S };  // W: the window font; S: the button and the numerals

struct Rgb {
  std::uint8_t r, g, b;
};

inline constexpr Rgb kGreen{0, 192, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// A row of the window's stacking list. Lines carry their geometry in the line table instead.
struct Control {
  std::string_view name;
  Kind kind;
  TwipsRect rect;
  std::string_view caption;
  std::optional<Rgb> text;        // none: the system default
  std::optional<Rgb> background;  // none: transparent (labels) or the system default (button)
  Font font;
};

// The clock window's client area and background.
inline constexpr int kClientWidth = 4680;
inline constexpr int kClientHeight = 3195;
inline constexpr Rgb kBackground{192, 192, 255};
inline constexpr std::string_view kCaption = "Time Zone";

// Every control, uppermost first. The hand lies over the white face and under the numerals; the
// frame lines lie under the face, which covers only their inside.
inline constexpr std::array<Control, 28> kControls{{
    {"Command1", Kind::Button, {3720, 120, 855, 375}, "Back", {}, {}, Font::S},
    {"Label17", Kind::Label, {720, 1320, 375, 255}, "11", kGreen, {}, Font::S},
    {"Label16", Kind::Label, {480, 1560, 375, 255}, "10", kGreen, {}, Font::S},
    {"Label15", Kind::Label, {480, 1920, 375, 255}, "9", kGreen, {}, Font::S},
    {"Label14", Kind::Label, {480, 2280, 375, 255}, "8", kGreen, {}, Font::S},
    {"Label13", Kind::Label, {840, 2520, 375, 255}, "7", kGreen, {}, Font::S},
    {"Label12", Kind::Label, {1320, 2520, 375, 255}, "6", kGreen, {}, Font::S},
    {"Label11", Kind::Label, {1680, 2520, 375, 255}, "5", kGreen, {}, Font::S},
    {"Label10", Kind::Label, {2040, 2280, 375, 255}, "4", kGreen, {}, Font::S},
    {"Label9", Kind::Label, {2040, 1920, 375, 255}, "3", kGreen, {}, Font::S},
    {"Label8", Kind::Label, {2040, 1560, 375, 255}, "2", kGreen, {}, Font::S},
    {"Label7", Kind::Label, {1680, 1320, 375, 255}, "1", kGreen, {}, Font::S},
    {"Label6", Kind::Label, {1200, 1320, 375, 255}, "12", kGreen, {}, Font::S},
    {"Line10", Kind::Line, {}, {}, {}, {}, Font::W},
    {"Label5", Kind::Label, {360, 1320, 1935, 1455}, {}, {}, kWhite, Font::W},
    {"Line9", Kind::Line, {}, {}, {}, {}, Font::W},
    {"Line8", Kind::Line, {}, {}, {}, {}, Font::W},
    {"Line4", Kind::Line, {}, {}, {}, {}, Font::W},
    {"Line7", Kind::Line, {}, {}, {}, {}, Font::W},
    {"Line6", Kind::Line, {}, {}, {}, {}, Font::W},
    {"Line5", Kind::Line, {}, {}, {}, {}, Font::W},
    {"Line3", Kind::Line, {}, {}, {}, {}, Font::W},
    {"Line2", Kind::Line, {}, {}, {}, {}, Font::W},
    {"Line1", Kind::Line, {}, {}, {}, {}, Font::W},
    {"Label4", Kind::Label, {2040, 600, 1335, 255}, {}, kBlack, kWhite, Font::W},
    {"Label3", Kind::Label, {840, 600, 1095, 255}, "Date ", kBlue, {}, Font::W},
    {"Label2", Kind::Label, {2040, 240, 1335, 255}, {}, kBlack, kWhite, Font::W},
    {"Label1", Kind::Label, {840, 240, 1095, 255}, "Local Time ", kBlue, {}, Font::W},
}};

// Line colours: the system window-text colour by default, or a system grey.
enum class LineColour { Default, ButtonFace, InactiveBorder };

struct Line {
  std::string_view name;
  LineCoords design;
  LineColour colour;
};

// Line1 .. Line10, by number. Line10 is the hand.
inline constexpr std::array<Line, 10> kLines{{
    {"Line1", {240, 1200, 2400, 1200}, LineColour::Default},
    {"Line2", {2400, 1200, 2400, 2880}, LineColour::Default},
    {"Line3", {2400, 2880, 240, 2880}, LineColour::Default},
    {"Line4", {240, 2860, 2400, 2860}, LineColour::ButtonFace},
    {"Line5", {2380, 1200, 2385, 2880}, LineColour::InactiveBorder},
    {"Line6", {255, 1200, 255, 2880}, LineColour::Default},
    {"Line7", {240, 1200, 245, 2880}, LineColour::InactiveBorder},
    {"Line8", {2400, 1215, 240, 1215}, LineColour::Default},
    {"Line9", {240, 1200, 2400, 1200}, LineColour::ButtonFace},
    {"Line10", {1320, 2040, 1320, 1680}, LineColour::Default},
}};

inline constexpr int kHandLine = 10;

// Fixed stand-ins for the system colours.
constexpr Rgb colour_of(LineColour c) {
  switch (c) {
    case LineColour::ButtonFace:
      return {212, 208, 200};
    case LineColour::InactiveBorder:
      return {180, 180, 180};
    case LineColour::Default:
      break;
  }
  return kBlack;
}

// The line table's index of "LineN", or -1.
constexpr int line_index(std::string_view name) {
  for (int i = 0; i < static_cast<int>(kLines.size()); ++i)
    if (kLines[i].name == name) return i;
  return -1;
}

}  // namespace vel::form3
