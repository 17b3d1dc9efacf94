// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vel {

// The dictionaries to check spelling with ("de_DE", "en_GB"): the user's languages, most preferred
// first, from the locale's language names ("de_DE.UTF-8", "de_DE", "de", "C"), as far as their
// dictionary is `installed`; English ("en_US") when none of theirs is, and it is.
std::vector<std::string> spelling_languages(
    const std::vector<std::string>& language_names,
    const std::function<bool(const std::string&)>& installed);

}  // namespace vel
