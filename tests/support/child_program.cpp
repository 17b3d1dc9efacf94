// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/child_program.h"

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace vel::test {

ChildProgram::ChildProgram(const std::vector<std::string>& args,
                           const std::vector<std::string>& environment) {
  // Everything the child needs is made before the fork, which leaves it only exec to call.
  std::vector<std::string> variables;
  for (char** v = environ; *v; ++v) {
    const std::string variable = *v;
    const std::string name = variable.substr(0, variable.find('='));
    bool changed = false;
    for (const auto& change : environment) changed |= change.substr(0, change.find('=')) == name;
    if (!changed) variables.push_back(variable);
  }
  for (const auto& change : environment)
    if (change.find('=') != std::string::npos) variables.push_back(change);
  std::vector<char*> envp;
  for (auto& v : variables) envp.push_back(v.data());
  envp.push_back(nullptr);
  std::vector<char*> argv{const_cast<char*>(VEL_BROWSER_PATH)};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    execve(VEL_BROWSER_PATH, argv.data(), envp.data());
    _exit(127);
  }
}

ChildProgram::~ChildProgram() {
  if (pid_ > 0 && !exited() && kill(pid_, SIGTERM) == 0) waitpid(pid_, nullptr, 0);
}

bool ChildProgram::exited() {
  if (!ended_ && pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
  return ended_;
}

}  // namespace vel::test
