// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/site_data.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace vel {
namespace {

namespace fs = std::filesystem;

SiteDataCheck cannot_keep(const fs::path& where, const std::error_code& why) {
  return {false, "Vel cannot keep what sites store.",
          where.string() + ": " + why.message() +
              ". This run keeps nothing: sites will not remember you after it ends."};
}

// The folder itself is the user's alone; the folders above it are made as usual.
std::error_code make_private_folder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder.parent_path(), error);
  if (error) return error;
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
    return {errno, std::generic_category()};
  if (!fs::is_directory(folder, error))
    return error ? error : std::make_error_code(std::errc::not_a_directory);
  return {};
}

// Not empty, and without the header that every SQLite database begins with.
bool is_damaged(const fs::path& file) {
  std::error_code error;
  if (!fs::is_regular_file(file, error) || fs::file_size(file, error) == 0 || error) return false;
  static constexpr char kHeader[] = "SQLite format 3";  // and its terminating zero: 16 bytes
  std::array<char, sizeof kHeader> start{};
  std::ifstream in(file, std::ios::binary);
  in.read(start.data(), start.size());
  return in.gcount() != std::streamsize(start.size()) ||
         std::memcmp(start.data(), kHeader, sizeof kHeader) != 0;
}

fs::path aside_name(const fs::path& file) {
  fs::path aside = file;
  aside += ".damaged";
  std::error_code error;
  for (int n = 2; fs::symlink_status(aside, error).type() != fs::file_type::not_found; ++n) {
    aside = file;
    aside += ".damaged-" + std::to_string(n);
  }
  return aside;
}

}  // namespace

SiteDataFolders site_data_folders(const fs::path& data_home, const fs::path& cache_home,
                                  std::string_view app_id) {
  return {data_home / app_id, cache_home / app_id};
}

SiteDataCheck prepare_site_data(const SiteDataFolders& folders) {
  for (const fs::path& folder : {folders.data, folders.cache})
    if (const std::error_code error = make_private_folder(folder))
      return cannot_keep(folder, error);
  SiteDataCheck check;
  const fs::path cookies = folders.data / kCookieFile;
  if (is_damaged(cookies)) {
    const fs::path aside = aside_name(cookies);
    std::error_code error;
    fs::rename(cookies, aside, error);
    if (error) return cannot_keep(cookies, error);
    check.problem = "Vel found its file of sites' cookies damaged.";
    check.detail = cookies.string() + " was no cookie file Vel can read. It is kept as " +
                   aside.string() + ", and a new one is begun: sites may ask you to sign in again.";
  }
  const int fd = ::open(cookies.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return cannot_keep(cookies, {errno, std::generic_category()});
  ::close(fd);
  return check;
}

}  // namespace vel
