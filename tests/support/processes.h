// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>

namespace vel::test {

struct Process {
  std::string name;  // as the kernel keeps it: at most 15 characters
  int ppid = 0;
  unsigned long long ticks = 0;  // processor time used, user + system, in clock ticks
};

// `root` and every process descended from it (the engine's processes too), by pid.
std::map<int, Process> process_tree(int root);

}  // namespace vel::test
