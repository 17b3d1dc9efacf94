// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vel {

// How soon a page's process that does not answer is dealt with.
struct WatchdogSettings {
  // After a command the page's process must act on (a new address, Back, Stop...), a ping into
  // the page must be answered, or the load must have started, within this; otherwise the process
  // is taken to be stuck and ended so that the command can go on. A page busy on the network
  // answers at once: only a page whose own process is stuck (a script that never returns) waits
  // this long.
  unsigned answer_ms = 600;
  // Once the engine says the page's process is not responsive (WebKit says so some seconds after
  // a message the page did not answer), this much longer before the user is told: about 10 s in
  // all.
  unsigned notice_ms = 7000;
};

// How much memory a page's process may use before the engine ends it. Zero: the program's own
// share of the machine (page_memory_limit_mb()).
struct MemoryLimitSettings {
  unsigned limit_mb = 0;
  // How often the engine looks at the process's memory, in seconds: the engine's own default.
  // Each look reads the process's memory map (15-20 ms of processor time); every 5 s, that showed
  // as a third of a percent of a core in the idle figures.
  double poll_s = 30.0;
};

struct EngineSettings {
  WatchdogSettings watchdog;
  // Applied by the first engine of the program only: the engine's processes share it.
  MemoryLimitSettings memory;
  // A private run: sites' data in memory only, nothing of it written. The first engine's choice
  // holds for the program, as the memory limit does.
  bool private_run = false;
};

}  // namespace vel
