#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vel {

// The address box's list: what was typed, oldest first. It keeps every entry as it came,
// duplicates and empty texts too, and never drops one; the box shows it as it is.
class AddressHistory {
 public:
  void append(std::string_view text) { entries_.emplace_back(text); }

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  // The entry at `index`, or nothing when there is none.
  std::optional<std::string> at(std::size_t index) const;
  const std::vector<std::string>& entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;
};

}  // namespace vel
