// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vel {

// A name for a downloaded file from the one the site suggests: only its last path component, no
// control characters, nothing hidden, never empty ("download").
std::string safe_file_name(std::string_view suggested);

// A path in `dir` that does not exist yet: "name.ext", then "name (1).ext", "name (2).ext"...
// A dangling link counts as taken, so a download never writes through one.
std::filesystem::path unused_path(const std::filesystem::path& dir, const std::string& name);

}  // namespace vel
