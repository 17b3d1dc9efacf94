// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "core/control_table.h"
#include "core/twips.h"

namespace vel::browser_layout {

// What a control is for. The widget of each role is found through the table at compile time.
enum class Role {
  StatusBar,
  AddressBox,
  PageView,
  AboutSpot,
  ClockSpot,
  ExitBrowserSpot,
  ExitSpot,
  EditDocumentSpot,
  OfflineSpot,
  OnlineSpot,
  SaveSpot,
  OpenSpot,
  NewDocumentSpot,
  SearchButton,
  HomeButton,
  RefreshButton,
  StopButton,
  ForwardButton,
  BackButton,
  SearchStrip,
  HomeStrip,
  RefreshStrip,
  StopStrip,
  ForwardStrip,
  BackStrip,
  Banner,
};

// Hot-spots are transparent: a painted button of the banner lies under a picture-sized spot and
// the strip of a label beside it; the command hot-spots are small squares over painted icons.
enum class Kind { Hotspot, Banner, AddressBox, PageView, StatusBar };

// One row per control, with everything about it.
struct Control {
  std::string_view design_name;  // the control's name in the original window design
  Role role;
  std::string_view id;  // widget name, for style sheets and debugging
  Kind kind;
  TwipsRect rect;
  std::string_view tooltip;          // empty: none
  std::string_view hint;             // written to the hint panel while the pointer moves over it
  bool hint_on_click;                // the click writes the hint too
  std::string_view accessible_name;  // empty: the tooltip
  std::string_view action;           // the command a click runs; empty: none
};

// The browser window's client area.
inline constexpr int kClientWidth = 9600;
inline constexpr int kClientHeight = 7200;
// Status bar panels: each 1440 twips wide.
inline constexpr int kPanelWidth = 1440;
// The progress monitor's period.
inline constexpr unsigned kLoadMonitorMs = 5;

// Every control of the browser window, uppermost first. The windowed controls lie above all
// windowless ones; among the windowless, the command hot-spots lie above the button pictures,
// those above the button strips, and the banner lies at the bottom.
// clang-format off
inline constexpr std::array<Control, 26> kControls{{
  // design name     role                   id               kind              rect                    tooltip               hint          click  accessible name       action
  {"StatusBar1",    Role::StatusBar,        "status-bar",    Kind::StatusBar,  {0, 6945, 9600, 255},   {},                   {},           false, {},                   {}},
  {"cboAddress",    Role::AddressBox,       "address-box",   Kind::AddressBox, {240, 480, 9195, 315},  {},                   {},           false, "Address",            {}},
  {"brwWebBrowser", Role::PageView,         "page-view",     Kind::PageView,   {0, 1200, 9600, 5775},  {},                   {},           false, {},                   {}},
  {"Label16",       Role::AboutSpot,        "about",         Kind::Hotspot,    {8520, 880, 780, 255},  {},                   {},           false, "About Vel Browser",  "app.about"},
  {"Label15",       Role::ClockSpot,        "clock",         Kind::Hotspot,    {5400, 840, 375, 255},  "Time Zone",          {},           false, {},                   "app.clock"},
  {"Label14",       Role::ExitBrowserSpot,  "exit-browser",  Kind::Hotspot,    {8040, 840, 255, 255},  "Exit Browser",       {},           false, {},                   "app.quit"},
  {"Label13",       Role::ExitSpot,         "exit",          Kind::Hotspot,    {8040, 840, 255, 255},  "Exit",               {},           false, {},                   "app.quit"},
  {"Label12",       Role::EditDocumentSpot, "edit-document", Kind::Hotspot,    {7680, 840, 255, 255},  "Edit HTML Document", {},           false, {},                   {}},
  {"Label11",       Role::OfflineSpot,      "offline",       Kind::Hotspot,    {7320, 840, 255, 255},  "Work offline",       {},           false, {},                   "win.offline"},
  {"Label10",       Role::OnlineSpot,       "online",        Kind::Hotspot,    {6960, 840, 255, 255},  "Work online",        {},           false, {},                   "win.online"},
  {"Label9",        Role::SaveSpot,         "save",          Kind::Hotspot,    {6600, 840, 255, 255},  "Save",               {},           false, {},                   {}},
  {"Label8",        Role::OpenSpot,         "open",          Kind::Hotspot,    {6240, 840, 255, 255},  "Open",               {},           false, {},                   "win.open"},
  {"Label7",        Role::NewDocumentSpot,  "new-document",  Kind::Hotspot,    {5880, 840, 255, 255},  "New HTML Document",  {},           false, {},                   "win.new-document"},
  {"Image7",        Role::SearchButton,     "search-button", Kind::Hotspot,    {6960, 0, 1455, 375},   {},                   "  Search",   false, "Search",             "win.search"},
  {"Image6",        Role::HomeButton,       "home-button",   Kind::Hotspot,    {5520, 0, 1455, 375},   {},                   "  Home",     false, "Home",               "win.home"},
  {"Image5",        Role::RefreshButton,    "reload-button", Kind::Hotspot,    {4080, 0, 1455, 375},   {},                   "  Refresh",  false, "Refresh",            "win.reload"},
  {"Image4",        Role::StopButton,       "stop-button",   Kind::Hotspot,    {2760, 0, 1335, 375},   {},                   "  Stop",     false, "Stop",               "win.stop"},
  {"Image3",        Role::ForwardButton,    "forward-button",Kind::Hotspot,    {1320, 0, 1335, 375},   {},                   "  Forward",  false, "Forward",            "win.forward"},
  {"Image2",        Role::BackButton,       "back-button",   Kind::Hotspot,    {0, 0, 1335, 375},      {},                   "  Back",     true,  "Back",               "win.back"},
  {"Label6",        Role::SearchStrip,      "search-strip",  Kind::Hotspot,    {7080, 0, 1335, 375},   {},                   {},           false, "Search",             "win.search"},
  {"Label5",        Role::HomeStrip,        "home-strip",    Kind::Hotspot,    {5520, 0, 1455, 375},   {},                   {},           false, "Home",               "win.home"},
  {"Label4",        Role::RefreshStrip,     "reload-strip",  Kind::Hotspot,    {4080, 0, 1455, 375},   {},                   {},           false, "Refresh",            "win.reload"},
  {"Label3",        Role::StopStrip,        "stop-strip",    Kind::Hotspot,    {2760, 120, 1335, 375}, {},                   {},           false, "Stop",               "win.stop"},
  {"Label2",        Role::ForwardStrip,     "forward-strip", Kind::Hotspot,    {1200, 0, 1455, 375},   {},                   {},           false, "Forward",            "win.forward"},
  {"Label1",        Role::BackStrip,        "back-strip",    Kind::Hotspot,    {480, 600, 1215, 375},  {},                   {},           false, "Back",               "win.back"},
  {"Image1",        Role::Banner,           "banner",        Kind::Banner,     {0, 0, 9600, 1215},     {},                   "  ",         false, "Vel Browser toolbar", {}},
}};
// clang-format on

static_assert(each_role_once(kControls, Role::Banner));

constexpr std::size_t index_of(Role role) {
  return row_index(kControls, role);
}
constexpr const Control& row(Role role) {
  return kControls[index_of(role)];
}

}  // namespace vel::browser_layout
