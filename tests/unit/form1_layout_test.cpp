#include "browser/form1_layout.h"

#include <gtest/gtest.h>

using vel::form1::uppermost_at;

namespace {
std::string at(int x, int y) {
  const auto* c = uppermost_at(x, y);
  return c ? std::string(c->name) : "";
}
}  // namespace

TEST(Form1Layout, ButtonRowGoesToTheRightHandHitArea) {
  EXPECT_EQ(at(1200, 100), "Image2");  // not Label2 beneath it
  EXPECT_EQ(at(1334, 100), "Image3");  // the 15-twip overlap of Back and Forward
  EXPECT_EQ(at(1319, 100), "Image2");
  EXPECT_EQ(at(4085, 100), "Image5");  // Stop / Refresh overlap
  EXPECT_EQ(at(5525, 100), "Image6");  // Refresh / Home overlap
  EXPECT_EQ(at(6965, 100), "Image7");  // Home / Search overlap
  EXPECT_EQ(at(2700, 100), "Image1");  // the gap between Forward and Stop
  EXPECT_EQ(at(8500, 100), "Image1");  // right of Search
  EXPECT_EQ(at(9599, 374), "Image1");
}

TEST(Form1Layout, OnlyStripsOfLabel1AndLabel3AreReachable) {
  EXPECT_EQ(at(3000, 400), "Label3");
  EXPECT_EQ(at(3000, 479), "Label3");
  EXPECT_EQ(at(3000, 480), "cboAddress");
  EXPECT_EQ(at(600, 700), "cboAddress");
  EXPECT_EQ(at(600, 795), "Label1");
  EXPECT_EQ(at(600, 974), "Label1");
  EXPECT_EQ(at(600, 975), "Image1");
  EXPECT_EQ(at(200, 700), "Image1");  // left of the address box, beside Label1
}

TEST(Form1Layout, CommandHotSpotsAndWindowedControls) {
  EXPECT_EQ(at(8100, 900), "Label14");  // Label13 never gets the mouse
  EXPECT_EQ(uppermost_at(8100, 900)->tooltip, "Exit Browser");
  EXPECT_EQ(at(8600, 1000), "Label16");
  EXPECT_EQ(at(5500, 900), "Label15");
  EXPECT_EQ(at(100, 1205), "brwWebBrowser");  // the browser covers the banner's last 15 twips
  EXPECT_EQ(at(100, 6960), "StatusBar1");     // the status bar lies over the browser's foot
  EXPECT_EQ(at(100, 6944), "brwWebBrowser");
  for (const auto& c : vel::form1::kControls) {
    if (!vel::form1::is_windowed(c.kind)) continue;
    // Windowed controls come before every windowless one in the stacking.
    EXPECT_EQ(uppermost_at(c.rect.left + 1, c.rect.top + 1)->name, c.name);
  }
}

TEST(Form1Layout, RectanglesConvertEdgeToEdge) {
  const auto back = vel::to_pixels(vel::form1::find("Image2")->rect);
  const auto fwd = vel::to_pixels(vel::form1::find("Image3")->rect);
  EXPECT_EQ(back.x + back.width - 1, fwd.x);  // a one-pixel overlap survives
  const auto address = vel::to_pixels(vel::form1::find("cboAddress")->rect);
  EXPECT_EQ(address.x, 16);
  EXPECT_EQ(address.y, 32);
  EXPECT_EQ(address.width, 613);
  EXPECT_EQ(address.height, 21);
  const auto logo = vel::to_pixels(vel::form1::find("Label16")->rect);
  EXPECT_EQ(logo.y, 59);  // 880 twips is 58.7 px
  EXPECT_EQ(logo.height, 17);
}
