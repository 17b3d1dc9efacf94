// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>

namespace vel {

// A download under way, as the status bar shows it.
struct DownloadProgress {
  std::string name;                            // the file's name, without its folder
  unsigned long long received = 0, total = 0;  // bytes so far and in all (0: not known)
};

// What the status bar says of the downloads under way: what they are (the file's name, or "3
// downloads") and how far they have got: the share done when every size is known ("45%"), else
// the bytes so far ("1.5 MB").
struct DownloadSummary {
  std::string what, how_far;
};
DownloadSummary summarize_downloads(std::span<const DownloadProgress> downloads);

// A number of bytes as people read it, in the desktop's decimal units: "512 bytes", "1.5 kB",
// "20 MB".
std::string byte_count_text(unsigned long long bytes);

}  // namespace vel
