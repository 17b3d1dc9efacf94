// SPDX-License-Identifier: GPL-3.0-or-later
// What the benchmarks read of a process tree beyond its shape: memory, and an orderly end.
#pragma once

#include "support/processes.h"

namespace vel::bench {

// Memory of one process in kB; -1 where it cannot be read.
struct Memory {
  long rss_kb = -1;
  long pss_kb = -1;       // shared pages split among the processes that map them
  long uss_kb = -1;       // pages of this process alone: unaffected by what else runs
  long peak_rss_kb = -1;  // resident at its highest so far (the kernel's VmHWM)
};
Memory memory(int pid);

// Ends the program `pid` (a child of this process) and whatever it started.
void stop_tree(int pid);

}  // namespace vel::bench
