// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/download_names.h"

#include <algorithm>

namespace vel {

std::string safe_file_name(std::string_view suggested) {
  std::string name(suggested);
  if (const auto slash = name.find_last_of("/\\"); slash != std::string::npos)
    name.erase(0, slash + 1);
  name.erase(std::remove_if(name.begin(), name.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
             name.end());
  while (!name.empty() && (name.front() == '.' || name.front() == ' ')) name.erase(0, 1);
  return name.empty() ? std::string("download") : name;
}

std::filesystem::path unused_path(const std::filesystem::path& dir, const std::string& name) {
  const std::filesystem::path base(name);
  const std::string stem = base.stem().string(), ext = base.extension().string();
  std::error_code ec;
  std::filesystem::path candidate = dir / name;
  for (int n = 1;
       std::filesystem::exists(candidate, ec) || std::filesystem::is_symlink(candidate, ec); ++n) {
    std::string numbered = stem;
    numbered.append(" (").append(std::to_string(n)).append(")").append(ext);
    candidate = dir / numbered;
  }
  return candidate;
}

}  // namespace vel
