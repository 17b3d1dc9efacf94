// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/child_program.h"

#include <glib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "support/main_loop.h"
#include "toolkit/graphics.h"

namespace vel::test {

ChildProgram::ChildProgram(const std::vector<std::string>& args,
                           const std::vector<std::string>& environment, const char* program) {
  // Everything the child needs is made before the fork, which leaves it only exec to call.
  // As a user starts it: without the graphics setting this process put in force for itself.
  char** envp = hand_back_graphics_setting(g_get_environ());
  for (const auto& change : environment) {
    const auto equals = change.find('=');
    envp = equals == std::string::npos ? g_environ_unsetenv(envp, change.c_str())
                                       : g_environ_setenv(envp, change.substr(0, equals).c_str(),
                                                          change.c_str() + equals + 1, TRUE);
  }
  gchar* found = program ? g_find_program_in_path(program) : g_strdup(VEL_BROWSER_PATH);
  const std::string path = found ? found : "";
  g_free(found);
  std::vector<char*> argv{const_cast<char*>(path.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    execve(path.c_str(), argv.data(), envp);
    _exit(127);
  }
  g_strfreev(envp);
}

ChildProgram::~ChildProgram() {
  if (pid_ <= 0 || exited() || kill(pid_, SIGTERM) != 0) return;
  // It ends as Exit ends it; one that does not within the deadline is killed.
  if (!run_until([&] { return exited(); }, std::chrono::seconds(10))) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

std::string ChildProgram::ending() {
  if (!run_until([&] { return exited(); })) return "still running";
  if (WIFEXITED(status_)) return "status " + std::to_string(WEXITSTATUS(status_));
  return "signal " + std::to_string(WTERMSIG(status_));
}

bool ChildProgram::exited() {
  if (!ended_ && pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
  return ended_;
}

}  // namespace vel::test
