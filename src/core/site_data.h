// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vel {

// Where the engine keeps what sites store: cookies, local storage, the HSTS notes and the like in
// the data folder, the cache in the cache folder.
struct SiteDataFolders {
  std::filesystem::path data, cache;
};

// The program's folders under the user's data and cache folders ($XDG_DATA_HOME and
// $XDG_CACHE_HOME): one named by the application id in each.
SiteDataFolders site_data_folders(const std::filesystem::path& data_home,
                                  const std::filesystem::path& cache_home, std::string_view app_id);

// The cookies' SQLite file, in the data folder.
inline constexpr const char* kCookieFile = "cookies.sqlite";

// What came of preparing the folders.
struct SiteDataCheck {
  bool keep = true;  // the folders and the cookie file can be written: the run keeps sites' data
  // What went wrong, in the user's words: a headline, and where and why; empty when nothing did.
  std::string problem, detail;
};

// Makes the folders (mode 0700) where they are missing and checks that the cookie file can be
// opened for writing. A cookie file that is no SQLite database is never replaced unseen: it is put
// aside under a name that says it is damaged, and a new one is begun. When the folders or the file
// cannot be written, nothing is kept, and nothing there is changed.
SiteDataCheck prepare_site_data(const SiteDataFolders& folders);

}  // namespace vel
