// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/spelling.h"

#include <algorithm>
#include <cctype>

namespace vel {

std::vector<std::string> spelling_languages(
    const std::vector<std::string>& language_names,
    const std::function<bool(const std::string&)>& installed) {
  std::vector<std::string> chosen;
  const auto take = [&](const std::string& code) {
    if (installed(code) && std::find(chosen.begin(), chosen.end(), code) == chosen.end())
      chosen.push_back(code);
  };
  for (std::string name : language_names) {
    name = name.substr(0, name.find_first_of(".@"));  // no encoding, no modifier
    if (name.empty() || name == "C" || name == "POSIX") continue;
    if (name.find('_') != std::string::npos) {
      take(name);
      continue;
    }
    // A language alone: its own country's dictionary ("de" → "de_DE").
    std::string code = name;
    code += '_';
    for (const char c : name) code += char(std::toupper(static_cast<unsigned char>(c)));
    take(code);
  }
  if (chosen.empty()) take("en_US");
  return chosen;
}

}  // namespace vel
