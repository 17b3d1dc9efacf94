// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/processes.h"

#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>

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

}  // namespace vel::test
