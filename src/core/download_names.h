// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace vel {

// The longest name a download is saved under, in bytes: with room for " (NN)" and ".part" within
// the 255 bytes that Linux file systems allow.
inline constexpr std::size_t kLongestDownloadName = 200;

// A name for a downloaded file from the one the site suggests: only its last path component, no
// control characters, nothing hidden, never empty ("download"), and at most kLongestDownloadName
// bytes (a longer one loses the end of its stem, not its extension, nor half a character).
std::string safe_file_name(std::string_view suggested);

// Where a download is written until it is whole: "name.ext.part" beside "name.ext".
std::filesystem::path partial_path(const std::filesystem::path& file);

// A path in `dir` for a new download, such that neither it nor its partial file exists yet:
// "name.ext", then "name (1).ext", "name (2).ext"... A dangling link counts as taken, so a
// download never writes through one.
std::filesystem::path unused_path(const std::filesystem::path& dir, const std::string& name);

// Gives a whole download its name: renames `partial` to `wanted`, or to the next unused name if
// `wanted` was taken meanwhile. Never overwrites a file. Returns the name it now has, or an empty
// path with `error` set (the partial file is then left as it was).
std::filesystem::path move_into_place(const std::filesystem::path& partial,
                                      const std::filesystem::path& wanted, std::error_code& error);

}  // namespace vel
