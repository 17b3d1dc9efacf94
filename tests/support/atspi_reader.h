// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atspi/atspi.h>
#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vel::test {

// What a screen reader hears of another process, read over the accessibility bus each time it is
// asked (nothing cached: the program under test changes between two questions).
class Accessible {
 public:
  Accessible() = default;
  explicit Accessible(AtspiAccessible* owned);  // takes over the reference

  explicit operator bool() const { return bool(object_); }
  AtspiRole role() const;
  std::string name() const;
  std::vector<Accessible> children() const;
  // The first object at or below this one that matches, depth first; an empty one if none does.
  Accessible find(const std::function<bool(const Accessible&)>& match) const;
  Accessible find(AtspiRole role, std::string_view name) const;
  // Does its action of that name ("click" for a button); false when it has none.
  bool act(std::string_view action) const;
  // Its role and name on one line, and the tree below it so, for a failure's message.
  std::string line() const;
  std::string outline(int depth = 0) const;

 private:
  friend Accessible accessible_application(pid_t pid);
  std::shared_ptr<AtspiAccessible> object_;
};

// The application of process `pid` on the accessibility bus; empty while it has not joined it.
Accessible accessible_application(pid_t pid);

}  // namespace vel::test
