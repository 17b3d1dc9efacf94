// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vel {

// The program's own pages, served from its resources so they work offline.
inline constexpr const char* kBuiltinScheme = "vel";
inline constexpr const char* kHomeAddress = "vel:start";
inline constexpr const char* kSearchAddress = "vel:search";

}  // namespace vel
