// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/processes.h"

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <thread>

namespace vel::test {

namespace {

bool read_stat(int pid, Process& p) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(in, line);
  // The name is in parentheses and may itself hold spaces or parentheses. After it: the state,
  // the parent (field 4) and, as fields 14 and 15, user and system time.
  const auto open = line.find('('), close = line.rfind(')');
  if (open == std::string::npos || close == std::string::npos) return false;
  p.name = line.substr(open + 1, close - open - 1);
  unsigned long long utime = 0, stime = 0;
  if (std::sscanf(line.c_str() + close + 1, " %*c %d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu",
                  &p.ppid, &utime, &stime) != 3)
    return false;
  p.ticks = utime + stime;
  return true;
}

// A "Key: 123 kB" line of a /proc file, added to `kb` (from -1, unknown).
void add_field(std::istream& in, const std::string& word, const char* key, long& kb) {
  long value = 0;
  if (word == key && in >> value) kb = (kb < 0 ? 0 : kb) + value;
}

}  // namespace

std::map<int, Process> process_tree(int root) {
  std::map<int, Process> all, out;
  if (DIR* dir = opendir("/proc")) {
    while (dirent* e = readdir(dir)) {
      Process p;
      if (const int pid = std::atoi(e->d_name); pid > 0 && read_stat(pid, p)) all.emplace(pid, p);
    }
    closedir(dir);
  }
  std::set<int> members{root};
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& [pid, p] : all)
      if (!members.count(pid) && members.count(p.ppid)) grew = members.insert(pid).second;
  }
  for (int pid : members)
    if (auto it = all.find(pid); it != all.end()) out.emplace(pid, it->second);
  return out;
}

Memory memory(int pid) {
  Memory m;
  const std::string dir = "/proc/" + std::to_string(pid) + "/";
  std::ifstream status(dir + "status"), smaps(dir + "smaps_rollup");
  for (std::string word; status >> word; status.ignore(1 << 16, '\n'))
    add_field(status, word, "VmRSS:", m.rss_kb);
  for (std::string word; smaps >> word; smaps.ignore(1 << 16, '\n')) {
    add_field(smaps, word, "Pss:", m.pss_kb);
    add_field(smaps, word, "Private_Clean:", m.uss_kb);
    add_field(smaps, word, "Private_Dirty:", m.uss_kb);
  }
  return m;
}

void stop_tree(int pid) {
  const auto members = process_tree(pid);
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

}  // namespace vel::test
