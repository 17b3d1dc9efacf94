// SPDX-License-Identifier: GPL-3.0-or-later
// One benchmark trial: starts a program on the current X display, timestamps the mapping of its
// first top-level window and the moment its caption reads the expected text, then measures the
// memory and the processor time of the program's whole process tree (its engine processes too).
//
// It watches the X server rather than the program, so the program needs no hooks: new top-level
// windows are seen through SubstructureNotify on the root window, and their captions through
// PropertyNotify. Clicks are real X input, sent with XTest.
//
// Prints "key value" lines on stdout; "n/a" where a figure could not be taken.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "process_memory.h"
#include "x_watch.h"

namespace {

using vel::bench::XWatch;

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

struct Options {
  std::string title;             // the caption that says the page is shown
  bool title_ends = false;       // ... or the end of it (surf puts its indicators first)
  double timeout_s = 60;         // for the window and the caption
  double pss_after_s = -1;       // PSS this long after the caption; < 0: not measured
  double idle_s = -1;            // CPU over this window after the PSS; < 0: not measured
  std::string clock_title;       // the clock window's caption; empty: no clock figures
  int clock_x = 0, clock_y = 0;  // the hot-spot that opens it, in the main window
  int back_x = 0, back_y = 0;    // its Back button, in the clock window
  double timeline_s = -1;        // CPU per half second after the caption, on stderr
  bool details = false;          // per-process figures on stderr
  std::vector<char*> command;
};

[[noreturn]] void usage() {
  std::fputs(
      "usage: vel-trial --title TEXT|--title-ends TEXT [--timeout S] [--pss-after S] [--idle S]\n"
      "                 [--clock-title TEXT --clock-at X,Y --back-at X,Y] [--timeline S]\n"
      "                 [--details] -- PROGRAM [ARGS...]\n",
      stderr);
  std::exit(2);
}

bool parse_point(const char* s, int& x, int& y) {
  return std::sscanf(s, "%d,%d", &x, &y) == 2;
}

Options parse(int argc, char** argv) {
  Options o;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) usage();
      return argv[++i];
    };
    if (a == "--") {
      ++i;
      break;
    } else if (a == "--title" || a == "--title-ends") {
      o.title_ends = a == "--title-ends";
      o.title = value();
    } else if (a == "--timeout") {
      o.timeout_s = std::atof(value());
    } else if (a == "--pss-after") {
      o.pss_after_s = std::atof(value());
    } else if (a == "--idle") {
      o.idle_s = std::atof(value());
    } else if (a == "--clock-title") {
      o.clock_title = value();
    } else if (a == "--clock-at") {
      if (!parse_point(value(), o.clock_x, o.clock_y)) usage();
    } else if (a == "--back-at") {
      if (!parse_point(value(), o.back_x, o.back_y)) usage();
    } else if (a == "--timeline") {
      o.timeline_s = std::atof(value());
    } else if (a == "--details") {
      o.details = true;
    } else {
      usage();
    }
  }
  for (; i < argc; ++i) o.command.push_back(argv[i]);
  if (o.command.empty() || o.title.empty()) usage();
  o.command.push_back(nullptr);
  return o;
}

// --- The process tree -------------------------------------------------------------------------

using vel::bench::stop_tree;
using vel::test::process_tree;

vel::bench::Memory tree_memory(int root, bool details) {
  vel::bench::Memory total{0, 0, 0};
  for (const auto& [pid, s] : process_tree(root)) {
    const auto m = vel::bench::memory(pid);
    if (details)
      std::fprintf(stderr, "  mem %-22s %6d  PSS %8ld kB  USS %8ld kB\n", s.name.c_str(), pid,
                   m.pss_kb, m.uss_kb);
    total.pss_kb += std::max(m.pss_kb, 0L);
    total.uss_kb += std::max(m.uss_kb, 0L);
  }
  return total;
}

// Processor time of the tree over a window, as a percentage of one core.
struct Cpu {
  double tree = 0;     // the whole tree, in % of one core
  double program = 0;  // the program alone, without the engine's processes
};

Cpu tree_cpu_percent(int root, double seconds, bool details) {
  const auto before = process_tree(root);
  const auto t0 = Clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  const auto after = process_tree(root);
  const double elapsed = ms_since(t0) / 1000.0;
  const double hz = static_cast<double>(sysconf(_SC_CLK_TCK));
  unsigned long long total = 0, program = 0;
  for (const auto& [pid, s] : after) {
    const auto it = before.find(pid);
    const unsigned long long start = it == before.end() ? 0 : it->second.ticks;
    const unsigned long long used = s.ticks - start;
    if (details)
      std::fprintf(stderr, "  cpu %-22s %6d %6.2f %%\n", s.name.c_str(), pid,
                   100.0 * static_cast<double>(used) / hz / elapsed);
    total += used;
    if (pid == root) program = used;
  }
  const auto percent = [&](unsigned long long ticks) {
    return 100.0 * static_cast<double>(ticks) / hz / elapsed;
  };
  return {percent(total), percent(program)};
}

void print(const char* key, std::optional<double> value, const char* format = "%.1f") {
  std::printf("%s ", key);
  if (value)
    std::printf(format, *value);
  else
    std::fputs("n/a", stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = parse(argc, argv);
  XWatch x;
  x.park_pointer();

  std::optional<double> map_ms, title_ms;
  Window main_window = 0;
  const auto t0 = Clock::now();
  x.on_map = [&](XWatch::Window_& w) {
    if (!map_ms) {
      map_ms = ms_since(t0);
      main_window = w.id;
    }
  };
  x.on_name = [&](XWatch::Window_& w) {
    if (!title_ms && (o.title_ends ? w.name.ends_with(o.title) : w.name == o.title))
      title_ms = ms_since(t0);
  };

  const pid_t pid = fork();
  if (pid == 0) {
    execvp(o.command[0], o.command.data());
    std::perror("vel-trial: exec");
    _exit(127);
  }

  // There is no window manager on the benchmark's display: focus the window as one would, so the
  // program runs as it does on a desktop, with an active window.
  bool focused = false;
  const bool shown = x.wait(
      [&] {
        if (map_ms && !focused) {
          x.focus(main_window);
          focused = true;
        }
        return map_ms && title_ms;
      },
      o.timeout_s);
  print("map_ms", map_ms);
  print("title_ms", title_ms);
  if (!shown) {
    std::fprintf(stderr, "vel-trial: no window captioned \"%s\" within %.0f s\n", o.title.c_str(),
                 o.timeout_s);
    stop_tree(pid);
    return 1;
  }

  // Where the time goes after the load: which process works, and for how long.
  for (double t = 0; t < o.timeline_s; t += 0.5) {
    const auto before = process_tree(pid);
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const auto after = process_tree(pid);
    const double hz = static_cast<double>(sysconf(_SC_CLK_TCK)), elapsed = ms_since(start) / 1000;
    std::fprintf(stderr, "timeline %5.1f s after the caption:", t + 0.5);
    for (const auto& [p, s] : after) {
      const auto it = before.find(p);
      const auto used = s.ticks - (it == before.end() ? 0 : it->second.ticks);
      if (used) std::fprintf(stderr, " %s %.0f%%", s.name.c_str(), 100.0 * used / hz / elapsed);
    }
    std::fputc('\n', stderr);
  }

  if (o.pss_after_s >= 0) {
    std::this_thread::sleep_for(std::chrono::duration<double>(o.pss_after_s));
    if (o.details) std::fputs("Memory after the load:\n", stderr);
    const auto m = tree_memory(pid, o.details);
    print("pss_kb", static_cast<double>(m.pss_kb), "%.0f");
    print("uss_kb", static_cast<double>(m.uss_kb), "%.0f");
  }
  if (o.idle_s > 0) {
    if (o.details) std::fputs("CPU idle after the load:\n", stderr);
    print("idle_cpu", tree_cpu_percent(pid, o.idle_s, o.details).tree, "%.2f");
  }

  if (!o.clock_title.empty() && o.idle_s > 0) {
    std::optional<Cpu> shown_cpu, hidden_cpu;
    Window clock = 0;
    bool clock_hidden = false;
    x.on_map = [&](XWatch::Window_& w) {
      if (w.name == o.clock_title) clock = w.id;
    };
    x.on_name = [&](XWatch::Window_& w) {
      if (w.mapped && w.name == o.clock_title) clock = w.id;
    };
    x.on_unmap = [&](XWatch::Window_& w) {
      if (w.id == clock) clock_hidden = true;
    };
    x.click(main_window, o.clock_x, o.clock_y);
    x.park_pointer();
    if (x.wait([&] { return clock != 0; }, 10)) {
      x.focus(clock);
      // Let it settle past its first paints, then measure it running.
      x.wait([] { return false; }, 1.0);
      if (o.details) std::fputs("CPU with the clock window shown:\n", stderr);
      shown_cpu = tree_cpu_percent(pid, o.idle_s, o.details);
      x.click(clock, o.back_x, o.back_y);
      x.park_pointer();
      if (x.wait([&] { return clock_hidden; }, 10)) {
        x.focus(main_window);
        x.wait([] { return false; }, 1.0);
        if (o.details) std::fputs("CPU with the clock window hidden:\n", stderr);
        hidden_cpu = tree_cpu_percent(pid, o.idle_s, o.details);
      } else {
        std::fputs("vel-trial: the clock window's Back button did not hide it\n", stderr);
      }
    } else {
      std::fprintf(stderr, "vel-trial: no window captioned \"%s\" opened\n", o.clock_title.c_str());
    }
    const auto tree_part = [](const std::optional<Cpu>& c) {
      return c ? std::optional<double>(c->tree) : std::nullopt;
    };
    const auto program_part = [](const std::optional<Cpu>& c) {
      return c ? std::optional<double>(c->program) : std::nullopt;
    };
    print("clock_shown_cpu", tree_part(shown_cpu), "%.2f");
    print("clock_hidden_cpu", tree_part(hidden_cpu), "%.2f");
    print("clock_shown_cpu_program", program_part(shown_cpu), "%.2f");
    print("clock_hidden_cpu_program", program_part(hidden_cpu), "%.2f");
  }

  stop_tree(pid);
  return 0;
}
