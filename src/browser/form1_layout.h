#pragma once

#include <array>
#include <string_view>

#include "platform/twips.h"

namespace vel::form1 {

enum class Kind { Label, Image, Banner, AddressBox, Browser, StatusBar };

struct Control {
  std::string_view name;
  Kind kind;
  TwipsRect rect;
  int tab_index;             // -1: none
  std::string_view tooltip;  // empty: none
};

// The browser window's client area.
inline constexpr int kClientWidth = 9600;
inline constexpr int kClientHeight = 7200;

// Every control of the browser window, uppermost first. The windowed controls lie above all
// windowless ones; among the windowless, the command hot-spots lie above the button hit areas,
// those above the button labels, and the banner lies at the bottom.
inline constexpr std::array<Control, 26> kControls{{
    {"StatusBar1", Kind::StatusBar, {0, 6945, 9600, 255}, 8, {}},
    {"cboAddress", Kind::AddressBox, {240, 480, 9195, 315}, 7, {}},
    {"brwWebBrowser", Kind::Browser, {0, 1200, 9600, 5775}, 0, {}},
    {"Label16", Kind::Label, {8520, 880, 780, 255}, 18, {}},
    {"Label15", Kind::Label, {5400, 840, 375, 255}, 17, "Time Zone"},
    {"Label14", Kind::Label, {8040, 840, 255, 255}, 16, "Exit Browser"},
    {"Label13", Kind::Label, {8040, 840, 255, 255}, 15, "Exit"},
    {"Label12", Kind::Label, {7680, 840, 255, 255}, 14, "Edit HTML Document"},
    {"Label11", Kind::Label, {7320, 840, 255, 255}, 13, "Work offline"},
    {"Label10", Kind::Label, {6960, 840, 255, 255}, 12, "Work online"},
    {"Label9", Kind::Label, {6600, 840, 255, 255}, 11, "Save"},
    {"Label8", Kind::Label, {6240, 840, 255, 255}, 10, "Open"},
    {"Label7", Kind::Label, {5880, 840, 255, 255}, 9, "New HTML Document"},
    {"Image7", Kind::Image, {6960, 0, 1455, 375}, -1, {}},
    {"Image6", Kind::Image, {5520, 0, 1455, 375}, -1, {}},
    {"Image5", Kind::Image, {4080, 0, 1455, 375}, -1, {}},
    {"Image4", Kind::Image, {2760, 0, 1335, 375}, -1, {}},
    {"Image3", Kind::Image, {1320, 0, 1335, 375}, -1, {}},
    {"Image2", Kind::Image, {0, 0, 1335, 375}, -1, {}},
    {"Label6", Kind::Label, {7080, 0, 1335, 375}, 6, {}},
    {"Label5", Kind::Label, {5520, 0, 1455, 375}, 5, {}},
    {"Label4", Kind::Label, {4080, 0, 1455, 375}, 4, {}},
    {"Label3", Kind::Label, {2760, 120, 1335, 375}, 3, {}},
    {"Label2", Kind::Label, {1200, 0, 1455, 375}, 2, {}},
    {"Label1", Kind::Label, {480, 600, 1215, 375}, 1, {}},
    {"Image1", Kind::Banner, {0, 0, 9600, 1215}, -1, {}},
}};

inline constexpr bool is_windowed(Kind k) {
  return k == Kind::AddressBox || k == Kind::Browser || k == Kind::StatusBar;
}

// The control that receives the mouse at a point of the design layout, or nullptr.
const Control* uppermost_at(int x_twips, int y_twips);

const Control* find(std::string_view name);

// Status bar panels: each 1440 twips wide.
inline constexpr int kPanelWidth = 1440;

}  // namespace vel::form1
