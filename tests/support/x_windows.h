#pragma once

#include <string>
#include <vector>

namespace vel::test {

// Names of the mapped top-level windows on the test's X screen, of any process.
std::vector<std::string> top_level_window_names();

}  // namespace vel::test
