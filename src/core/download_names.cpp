// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/download_names.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace vel {
namespace {

// The length of `text` cut to at most `bytes`, not inside a UTF-8 sequence.
std::size_t utf8_prefix(std::string_view text, std::size_t bytes) {
  if (text.size() <= bytes) return text.size();
  while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
  return bytes;
}

// "stem (n).ext" of a name.
std::string numbered(const std::string& name, int n) {
  const std::filesystem::path base(name);
  return base.stem().string() + " (" + std::to_string(n) + ")" + base.extension().string();
}

bool taken(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec) || std::filesystem::is_symlink(path, ec);
}

// rename() that fails with EEXIST rather than replace a file. RENAME_NOREPLACE needs the file
// system's support; where it has none, a hard link does the same, and only then is the old name
// dropped.
bool rename_no_replace(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (link(from.c_str(), to.c_str()) != 0) return false;
  unlink(from.c_str());
  return true;
}

}  // namespace

std::string safe_file_name(std::string_view suggested) {
  std::string name(suggested);
  if (const auto slash = name.find_last_of("/\\"); slash != std::string::npos)
    name.erase(0, slash + 1);
  std::erase_if(name, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
  while (!name.empty() && (name.front() == '.' || name.front() == ' ')) name.erase(0, 1);
  if (name.empty()) return "download";
  if (name.size() <= kLongestDownloadName) return name;
  // The extension is kept when it looks like one: short, after a stem.
  const std::string ext = std::filesystem::path(name).extension().string();
  const std::size_t keep = ext.size() <= 16 ? ext.size() : 0;
  const std::string_view stem(name.data(), name.size() - keep);
  return std::string(stem.substr(0, utf8_prefix(stem, kLongestDownloadName - keep))) +
         name.substr(name.size() - keep);
}

std::filesystem::path partial_path(const std::filesystem::path& file) {
  return file.string() + ".part";
}

std::filesystem::path unused_path(const std::filesystem::path& dir, const std::string& name) {
  std::filesystem::path candidate = dir / name;
  for (int n = 1; taken(candidate) || taken(partial_path(candidate)); ++n)
    candidate = dir / numbered(name, n);
  return candidate;
}

std::filesystem::path move_into_place(const std::filesystem::path& partial,
                                      const std::filesystem::path& wanted, std::error_code& error) {
  const std::string name = wanted.filename().string();
  std::filesystem::path candidate = wanted;
  for (int n = 1; n <= 10000; candidate = wanted.parent_path() / numbered(name, n++)) {
    if (rename_no_replace(partial, candidate)) {
      error.clear();
      return candidate;
    }
    if (errno != EEXIST) break;
  }
  error = std::error_code(errno, std::generic_category());
  return {};
}

}  // namespace vel
