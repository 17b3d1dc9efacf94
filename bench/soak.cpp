// SPDX-License-Identifier: GPL-3.0-or-later
// The soak run: thousands of navigations among pages served on 127.0.0.1, typed into the real
// browser window's address box with the clock window open, as one long session. Prints the
// resident memory of the whole process tree (this program and the engine's processes) at the
// start, every so many navigations and at the end, how often a page process was lost, and the
// browser's own process's peak: its resident memory's high-water mark (the kernel's VmHWM) and the
// highest proportional share (PSS) seen, looked at every 10 navigations.
//
// usage: vel-soak [--navigations N] [--report-every N] [--engine-only]
//   --engine-only  navigates the view directly, leaving the address box and its list alone, to
//                  tell the engine's share of any growth from the window's
// Runs under an X server: bench/soak.sh starts its own Xvfb.
#include <gtkmm/comboboxtext.h>
#include <gtkmm/entry.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/application.h"
#include "process_memory.h"
#include "support/main_loop.h"
#include "support/page_server.h"
#include "support/seam.h"
#include "toolkit/graphics.h"
#include "windows/browser/browser_window.h"
#include "windows/clock/clock_window.h"

namespace {

// What the engine shows in place of a page whose process stopped.
constexpr const char* kStoppedTitle = "This page has stopped";
constexpr std::chrono::seconds kLoadTimeout(30);

// --- The pages ---------------------------------------------------------------------------------

std::string paragraph(int seed) {
  static const char* const words[] = {"window", "clock",  "address", "engine", "status",
                                      "banner", "page",   "history", "render", "layout",
                                      "timer",  "button", "memory",  "frame",  "event"};
  std::string s = "<p>";
  for (int i = 0; i < 60; ++i) s += std::string(words[(seed * 7 + i * 3) % 15]) + " ";
  return s + "</p>\n";
}

std::string image(int k) {
  return "<svg xmlns='http://www.w3.org/2000/svg' width='120' height='90'>"
         "<rect width='120' height='90' fill='hsl(" +
         std::to_string(k * 45) + ",60%,60%)'/><circle cx='60' cy='45' r='" +
         std::to_string(10 + k * 4) + "' fill='white'/></svg>";
}

// The site's pages, and what each path serves: "text/html", "image/svg+xml", ...
std::map<std::string, std::string> make_site(vel::test::TestServer& server) {
  std::map<std::string, std::string> types;
  const auto add = [&](const std::string& path, std::string body, const char* type) {
    server.add_page(path, std::move(body), type);
    types[path] = type;
    // Sub-resources are cached as a real site's would be; the pages themselves are not.
    if (types[path] != "text/html") server.add_header(path, "Cache-Control", "max-age=3600");
  };
  const std::string head =
      "<!doctype html><meta charset=utf-8><link rel=stylesheet href=/site.css>";
  std::string text = head + "<title>Article</title><h1>Article</h1>";
  for (int i = 0; i < 40; ++i) text += paragraph(i);
  add("/article", text, "text/html");

  std::string gallery = head + "<title>Gallery</title><h1>Gallery</h1>";
  for (int k = 0; k < 8; ++k) gallery += "<img src=/img/" + std::to_string(k) + ".svg alt=''>";
  add("/gallery", gallery + paragraph(3), "text/html");

  // Builds its content and title from script, and keeps some garbage for the collector.
  add("/script", head + "<title>Loading</title><div id=out></div><script src=/app.js></script>",
      "text/html");
  add("/app.js",
      "const out = document.getElementById('out');\n"
      "window.junk = [];\n"
      "for (let i = 0; i < 300; i++) {\n"
      "  const d = document.createElement('div');\n"
      "  d.textContent = 'row ' + i;\n"
      "  out.appendChild(d);\n"
      "  window.junk.push(new Array(100).fill(i));\n"
      "}\n"
      "document.title = 'Script ' + location.search;\n",
      "application/javascript");

  add("/form",
      head +
          "<title>Form</title><form><input name=q value=text><select name=s>"
          "<option>one<option>two</select><textarea>notes</textarea>"
          "<button>Send</button></window>",
      "text/html");
  add("/site.css", "body{font:14px sans-serif;margin:1em}img{margin:4px}h1{color:#246}",
      "text/css");
  for (int k = 0; k < 8; ++k) add("/img/" + std::to_string(k) + ".svg", image(k), "image/svg+xml");
  return types;
}

const std::vector<std::string> kPages = {"/article", "/gallery", "/script", "/form"};

bool is_web_process(const vel::test::Process& p) {
  // The kernel keeps 15 characters of a name: "WebKitWebProces".
  return p.name.rfind("WebKitWebProces", 0) == 0;
}

// --- The run -----------------------------------------------------------------------------------

class Soak {
 public:
  Soak(Glib::RefPtr<vel::Application> app, int navigations, int every, bool engine_only)
      : app_(std::move(app)), total_(navigations), every_(every), engine_only_(engine_only) {}

  void run() {
    window_ = &app_->show_browser_window();
    app_->show_clock_window();
    started_us_ = last_report_us_ = g_get_monotonic_time();
    std::printf("soak: %d navigations among %zu pages on 127.0.0.1:%d, clock window %s\n", total_,
                kPages.size(), server_.port(),
                vel::test::Seam::clock_window(*app_) ? "open" : "NOT open");
    report("start");
    for (; done_ < total_; ++done_) {
      if (done_ > 0 && done_ % every_ == 0) report(std::to_string(done_));
      check_page();
      const std::string uri =
          server_.uri(kPages[done_ % kPages.size()] + "?n=" + std::to_string(done_));
      const auto navigate = [&] {
        if (engine_only_) {
          vel::test::Seam::engine(*window_).navigate(uri);
        } else {
          // Typed and entered, as the user does: the address also goes into the box's list.
          vel::test::Seam::address_box(*window_).get_entry()->set_text(uri);
          g_signal_emit_by_name(vel::test::Seam::address_box(*window_).get_entry()->gobj(),
                                "activate");
        }
      };
      if (!vel::test::wait_for_load(vel::test::Seam::engine(*window_).signal_load_finished(),
                                    navigate, kLoadTimeout))
        ++timeouts_;
    }
    finish();
  }

 private:
  // A lost page process shows up either as the engine's message page or as a web process that
  // went away without the program asking.
  void check_page() {
    if (vel::test::Seam::engine(*window_).title() == kStoppedTitle) ++stopped_pages_;
    if (done_ % 10 == 0) peak_pss_kb_ = std::max(peak_pss_kb_, vel::bench::memory(getpid()).pss_kb);
    for (auto it = web_pids_.begin(); it != web_pids_.end();) {
      struct stat st;
      if (stat(("/proc/" + std::to_string(*it)).c_str(), &st) != 0) {
        ++lost_processes_;
        it = web_pids_.erase(it);
      } else {
        ++it;
      }
    }
    if (web_pids_.empty() || done_ % 100 == 0)
      for (const auto& [pid, p] : vel::test::process_tree(getpid()))
        if (is_web_process(p)) web_pids_.insert(pid);
  }

  // One crash can show both ways; neither way alone sees every one.
  int crashes() const { return std::max(stopped_pages_, lost_processes_); }

  void report(const std::string& when) {
    long rss = 0, pss = 0;
    bool pss_known = true;
    std::map<std::string, std::pair<int, long>> by_name;  // name -> processes, RSS kB
    for (const auto& [pid, p] : vel::test::process_tree(getpid())) {
      const auto memory = vel::bench::memory(pid);
      const long r = memory.rss_kb, s = memory.pss_kb;
      if (r > 0) rss += r;
      if (s >= 0)
        pss += s;
      else if (r > 0)
        pss_known = false;
      auto& entry = by_name[p.name];
      ++entry.first;
      entry.second += std::max(r, 0L);
    }
    const gint64 now = g_get_monotonic_time();
    const double interval_s = static_cast<double>(now - last_report_us_) / 1e6;
    const int interval_navs = done_ - last_report_done_;
    std::printf("soak %-6s navigations=%d rss_mb=%.1f pss_mb=%s crashes=%d", when.c_str(), done_,
                rss / 1024.0, pss_known ? std::to_string(pss / 1024).c_str() : "n/a", crashes());
    if (interval_navs > 0) std::printf(" navigations_per_s=%.1f", interval_navs / interval_s);
    std::printf("\n ");
    for (const auto& [name, e] : by_name)
      std::printf(" %s x%d %.1f MB;", name.c_str(), e.first, e.second / 1024.0);
    std::printf("\n");
    std::fflush(stdout);
    last_report_us_ = now;
    last_report_done_ = done_;
  }

  void finish() {
    check_page();
    report("end");
    std::printf(
        "soak done: navigations=%d seconds=%.0f stopped_pages=%d lost_web_processes=%d "
        "load_timeouts=%d address_list=%zu clock_window=%s\n",
        done_, static_cast<double>(g_get_monotonic_time() - started_us_) / 1e6, stopped_pages_,
        lost_processes_, timeouts_,
        static_cast<std::size_t>(
            vel::test::Seam::address_box(*window_).get_model()->children().size()),
        vel::test::Seam::clock_window(*app_) && vel::test::Seam::clock_window(*app_)->get_visible()
            ? "open"
            : "closed");
    // What the server answered, so a run of quick failures cannot pass for a run of pages.
    std::map<std::string, int> served;  // type -> responses
    int known = 0;
    for (const auto& [path, type] : types_) {
      served[type] += server_.requests(path);
      known += server_.requests(path);
    }
    std::printf("soak browser process peak: rss_mb=%.1f pss_mb=%.1f\n",
                vel::bench::memory(getpid()).peak_rss_kb / 1024.0, peak_pss_kb_ / 1024.0);
    if (server_.total_requests() > known) served["missing"] = server_.total_requests() - known;
    std::printf("soak served:");
    for (const auto& [type, count] : served) std::printf(" %s=%d", type.c_str(), count);
    std::printf("\n");
    std::fflush(stdout);
    app_->quit_program();
  }

  Glib::RefPtr<vel::Application> app_;
  int total_, every_;
  bool engine_only_;
  vel::test::TestServer server_;
  const std::map<std::string, std::string> types_ = make_site(server_);  // path -> type
  vel::BrowserWindow* window_ = nullptr;
  int done_ = 0;
  int timeouts_ = 0;
  int stopped_pages_ = 0;
  int lost_processes_ = 0;
  long peak_pss_kb_ = -1;
  std::set<int> web_pids_;
  gint64 started_us_ = 0, last_report_us_ = 0;
  int last_report_done_ = 0;
};

int positive(const char* text) {
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  return (end && *end == '\0' && n > 0 && n < 10'000'000) ? static_cast<int>(n) : -1;
}

}  // namespace

int main(int argc, char* argv[]) {
  int navigations = 5000, every = 1000;
  bool engine_only = false;
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--navigations") == 0 && has_value) {
      navigations = positive(argv[++i]);
    } else if (std::strcmp(argv[i], "--engine-only") == 0) {
      engine_only = true;
    } else if (std::strcmp(argv[i], "--report-every") == 0 && has_value) {
      every = positive(argv[++i]);
    } else {
      navigations = -1;
      break;
    }
    if (navigations < 0 || every < 0) break;
  }
  if (navigations < 0 || every < 0) {
    std::fputs("usage: vel-soak [--navigations N] [--report-every N] [--engine-only]\n", stderr);
    return 2;
  }

  // Draws as the program does on this machine.
  vel::ToolkitGraphicsChoice graphics;
  auto app = vel::Application::create();
  graphics.restore();
  Soak soak(app, navigations, every, engine_only);
  // The application's own activation opens the browser window; the run starts right after.
  app->signal_activate().connect([&] { soak.run(); }, true);
  char* program[] = {argv[0], nullptr};
  return app->run(1, program);
}
