#pragma once

#include <string>
#include <vector>

namespace vel::test {

// Names of the mapped top-level windows on the test's X screen, of any process.
std::vector<std::string> top_level_window_names();

// How many pixels of the mapped top-level window named `name` have the colour 0xRRGGBB; -1 when
// there is no such window.
long count_pixels(const std::string& name, unsigned long rgb);

}  // namespace vel::test
