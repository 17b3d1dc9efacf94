#include "browser/address_history.h"

namespace vel {

std::optional<std::string> AddressHistory::at(std::size_t index) const {
  // A list row can outlive the entry it was read for; a stale index gets nothing, not a crash.
  if (index >= entries_.size()) return std::nullopt;
  return entries_[index];
}

}  // namespace vel
