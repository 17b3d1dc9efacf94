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

// Memory of one process in kB; -1 where it cannot be read.
struct Memory {
  long rss_kb = -1;
  long pss_kb = -1;  // shared pages split among the processes that map them
  long uss_kb = -1;  // pages of this process alone: unaffected by what else runs
};
Memory memory(int pid);

// Ends the program `pid` (a child of this process) and whatever it started.
void stop_tree(int pid);

}  // namespace vel::test
