// SPDX-License-Identifier: GPL-3.0-or-later
// What opening the store of sites' data costs the program's start, on the main thread (the engine's
// network process opens the file itself, later, beside it): making and checking its folders and
// cookie file, which Vel adds, and the engine's network session over them, which takes the place
// of the engine's default one. Prints, for each, the median and the largest of N runs, each in
// fresh folders, in milliseconds.
#include "core/site_data.h"

#include <stdlib.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  std::string name = (std::filesystem::temp_directory_path() / "vel-bench-data-XXXXXX").string();
  const std::filesystem::path root = mkdtemp(name.data());
  std::vector<double> check_ms, session_ms;
  for (int run = 0; run < runs; ++run) {
    const auto folders =
        vel::site_data_folders(root / std::to_string(run) / "data",
                               root / std::to_string(run) / "cache", "org.velbrowser.VelBrowser");
    const auto start = std::chrono::steady_clock::now();
    const vel::SiteDataCheck check = vel::prepare_site_data(folders);
    const auto checked = std::chrono::steady_clock::now();
    WebKitNetworkSession* session =
        webkit_network_session_new(folders.data.c_str(), folders.cache.c_str());
    webkit_cookie_manager_set_persistent_storage(webkit_network_session_get_cookie_manager(session),
                                                 (folders.data / vel::kCookieFile).c_str(),
                                                 WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    using ms = std::chrono::duration<double, std::milli>;
    check_ms.push_back(ms(checked - start).count());
    session_ms.push_back(ms(std::chrono::steady_clock::now() - checked).count());
    g_object_unref(session);
    if (!check.keep) std::fprintf(stderr, "vel-site-data: %s\n", check.detail.c_str());
  }
  std::filesystem::remove_all(root);
  for (auto* figures : {&check_ms, &session_ms}) {
    std::sort(figures->begin(), figures->end());
    std::printf("%.2f %.2f ", (*figures)[figures->size() / 2], figures->back());
  }
  std::printf("\n");
}
