// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vel::test {

// The vel-browser program (or another `program`, found on the PATH) started as a user starts
// it, in a process of its own, with this process's environment changed by `environment`:
// "NAME=VALUE" sets, a bare "NAME" removes.
class ChildProgram {
 public:
  explicit ChildProgram(const std::vector<std::string>& args,
                        const std::vector<std::string>& environment = {},
                        const char* program = nullptr);
  ~ChildProgram();  // ends it (SIGTERM) if it still runs; the engine's processes end with it
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  pid_t pid() const { return pid_; }
  // True once it has ended.
  bool exited();
  // Waits for it to end and says how: "status N", "signal N", or "still running" at the deadline.
  std::string ending();

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  bool ended_ = false;
};

// The window tests' own settings that a program reaching the accessibility bus must not inherit:
// they keep the toolkit's accessibility in the test process.
inline const std::vector<std::string> kOnTheAccessibilityBus{"NO_AT_BRIDGE", "GTK_A11Y"};

}  // namespace vel::test
