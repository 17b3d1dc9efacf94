// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

struct _XDisplay;  // Xlib's Display, without Xlib's macros in every file that lists windows

namespace vel::test {

// The caption of an X window (_NET_WM_NAME, else WM_NAME); empty when it has none.
std::string window_name(_XDisplay* display, unsigned long window);

// The mapped top-level window named `name`, or 0.
unsigned long find_window(const std::string& name);
// The mapped top-level windows named `name` (a dialog without a title has none) that process
// `pid` made (_NET_WM_PID) and are `width` x `height` pixels; 0 for any process or size.
std::vector<unsigned long> find_windows(const std::string& name, long pid = 0, int width = 0,
                                        int height = 0);
// What the desktop reads of a top-level window: WM_CLASS as "name/class", and how many 32-bit
// numbers its _NET_WM_ICON holds (width, height and pixels for each size; 0: no icon).
std::string window_class(unsigned long window);
unsigned long icon_numbers(unsigned long window);
// Raises a top-level window and gives the screen position of its top-left corner.
std::pair<int, int> raise_window(unsigned long window);

// What the X server shows of a window, as 0xRRGGBB row by row; throws when it cannot be read.
struct WindowPixels {
  int width = 0, height = 0;
  std::vector<unsigned long> rgb;
  unsigned long at(int x, int y) const { return rgb.at(std::size_t(y) * width + x); }
};
WindowPixels window_pixels(unsigned long window);

// How many pixels of the mapped top-level window named `name` have the colour 0xRRGGBB; -1 when
// there is no such window.
long count_pixels(const std::string& name, unsigned long rgb);

}  // namespace vel::test
