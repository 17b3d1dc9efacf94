// SPDX-License-Identifier: GPL-3.0-or-later
#include "process_memory.h"

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace vel::bench {

namespace {

// A "Key: 123 kB" line of a /proc file, added to `kb` (from -1, unknown).
void add_field(std::istream& in, const std::string& word, const char* key, long& kb) {
  long value = 0;
  if (word == key && in >> value) kb = (kb < 0 ? 0 : kb) + value;
}

}  // namespace

Memory memory(int pid) {
  Memory m;
  const std::string dir = "/proc/" + std::to_string(pid) + "/";
  std::ifstream status(dir + "status"), smaps(dir + "smaps_rollup");
  for (std::string word; status >> word; status.ignore(1 << 16, '\n')) {
    add_field(status, word, "VmRSS:", m.rss_kb);
    add_field(status, word, "VmHWM:", m.peak_rss_kb);
  }
  for (std::string word; smaps >> word; smaps.ignore(1 << 16, '\n')) {
    add_field(smaps, word, "Pss:", m.pss_kb);
    add_field(smaps, word, "Private_Clean:", m.uss_kb);
    add_field(smaps, word, "Private_Dirty:", m.uss_kb);
  }
  return m;
}

void stop_tree(int pid) {
  const auto members = test::process_tree(pid);
  kill(pid, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (waitpid(pid, nullptr, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  // The engine's processes end with their program; any left over are ended here.
  for (const auto& [child, p] : members)
    if (child != pid) kill(child, SIGKILL);
}

}  // namespace vel::bench
