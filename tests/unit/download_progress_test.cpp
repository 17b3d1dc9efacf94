// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/download_progress.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using vel::DownloadProgress;

TEST(DownloadProgress, OneByNameSeveralByCountWithTheShareWhenEverySizeIsKnown) {
  const std::tuple<const char*, std::vector<DownloadProgress>, const char*, const char*> rows[] = {
      {"none", {}, "", ""},
      {"one, size known", {{"a.iso", 450, 1000}}, "a.iso", "45%"},
      {"rounded down: 100% only when whole", {{"a.iso", 999, 1000}}, "a.iso", "99%"},
      {"more than promised", {{"a.iso", 1200, 1000}}, "a.iso", "100%"},
      {"one, size unknown", {{"a.iso", 2'500'000, 0}}, "a.iso", "2.5 MB"},
      {"several: the share of all bytes",
       {{"a", 0, 3000}, {"b", 1000, 1000}},
       "2 downloads",
       "25%"},
      {"several, one size unknown", {{"a", 500, 3000}, {"b", 1000, 0}}, "2 downloads", "1.5 kB"},
      {"huge sizes do not overflow", {{"a", 1ULL << 62, 1ULL << 63}}, "a", "50%"},
  };
  for (const auto& [row, downloads, what, how_far] : rows) {
    const auto summary = vel::summarize_downloads(downloads);
    EXPECT_EQ(summary.what, what) << row;
    EXPECT_EQ(summary.how_far, how_far) << row;
  }
}

TEST(DownloadProgress, BytesReadAsTheDesktopWritesThem) {
  const std::tuple<unsigned long long, const char*> rows[] = {
      {0, "0 bytes"},        {1, "1 byte"},         {999, "999 bytes"},
      {1000, "1.0 kB"},      {1'048'576, "1.0 MB"}, {2'097'152, "2.1 MB"},
      {15'300'000, "15 MB"}, {999'700, "1.0 MB"},   {18'000'000'000'000'000'000ULL, "18 EB"},
  };
  for (const auto& [bytes, text] : rows) EXPECT_EQ(vel::byte_count_text(bytes), text) << bytes;
}
