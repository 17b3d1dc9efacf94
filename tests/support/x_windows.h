#pragma once

#include <string>
#include <vector>

struct _XDisplay;  // Xlib's Display, without Xlib's macros in every file that lists windows

namespace vel::test {

// The caption of an X window (_NET_WM_NAME, else WM_NAME); empty when it has none.
std::string window_name(_XDisplay* display, unsigned long window);

// Names of the mapped top-level windows on the X screen, of any process.
std::vector<std::string> top_level_window_names();

// How many pixels of the mapped top-level window named `name` have the colour 0xRRGGBB; -1 when
// there is no such window.
long count_pixels(const std::string& name, unsigned long rgb);

}  // namespace vel::test
