// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/download_progress.h"

#include <cstdio>

namespace vel {

DownloadSummary summarize_downloads(std::span<const DownloadProgress> downloads) {
  DownloadSummary summary;
  if (downloads.empty()) return summary;
  summary.what = downloads.size() == 1 ? downloads.front().name
                                       : std::to_string(downloads.size()) + " downloads";
  unsigned long long received = 0, total = 0;
  bool sizes_known = true;
  for (const DownloadProgress& d : downloads) {
    received += d.received;
    total += d.total;
    sizes_known = sizes_known && d.total > 0;
  }
  if (!sizes_known) {
    summary.how_far = byte_count_text(received);
    return summary;
  }
  // Rounded down, so that "100%" means all of it; more than promised is still 100%.
  const auto percent =
      received >= total
          ? 100ULL
          : static_cast<unsigned long long>(static_cast<long double>(received) * 100 / total);
  summary.how_far = std::to_string(percent) + "%";
  return summary;
}

std::string byte_count_text(unsigned long long bytes) {
  if (bytes < 1000) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static constexpr const char* kUnits[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
  double value = static_cast<double>(bytes) / 1000.0;
  std::size_t unit = 0;
  // 999.7 kB would print as "1000 kB": it is 1.0 MB.
  while (value >= 999.5 && unit + 1 < std::size(kUnits)) {
    value /= 1000.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, value < 10 ? "%.1f %s" : "%.0f %s", value, kUnits[unit]);
  return text;
}

}  // namespace vel
