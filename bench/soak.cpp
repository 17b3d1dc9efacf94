// The soak run: thousands of navigations among pages served on 127.0.0.1, typed into the real
// browser window's address box with the clock window open, as one long session. Prints the
// resident memory of the whole process tree (this program and the engine's processes) at the
// start, every so many navigations and at the end, and how often a page process was lost.
//
// usage: vel-soak [--navigations N] [--report-every N] [--engine-only]
//   --engine-only  navigates the view directly, leaving the address box and its list alone, to
//                  tell the engine's share of any growth from the window's
// Runs under an X server: bench/soak.sh starts its own Xvfb.
#include <dirent.h>
#include <gtkmm/comboboxtext.h>
#include <gtkmm/entry.h>
#include <libsoup/soup.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "browser/browser_window.h"
#include "clock/clock_window.h"
#include "platform/graphics.h"

namespace {

// What the engine shows in place of a page whose process stopped.
constexpr const char* kStoppedTitle = "This page has stopped";
constexpr unsigned kLoadTimeoutMs = 30000;

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

std::map<std::string, std::pair<std::string, std::string>> make_site() {
  std::map<std::string, std::pair<std::string, std::string>> site;
  const std::string head =
      "<!doctype html><meta charset=utf-8><link rel=stylesheet href=/site.css>";
  std::string text = head + "<title>Article</title><h1>Article</h1>";
  for (int i = 0; i < 40; ++i) text += paragraph(i);
  site["/article"] = {text, "text/html"};

  std::string gallery = head + "<title>Gallery</title><h1>Gallery</h1>";
  for (int k = 0; k < 8; ++k) gallery += "<img src=/img/" + std::to_string(k) + ".svg alt=''>";
  site["/gallery"] = {gallery + paragraph(3), "text/html"};

  // Builds its content and title from script, and keeps some garbage for the collector.
  site["/script"] = {head + "<title>Loading</title><div id=out></div><script src=/app.js></script>",
                     "text/html"};
  site["/app.js"] = {
      "const out = document.getElementById('out');\n"
      "window.junk = [];\n"
      "for (let i = 0; i < 300; i++) {\n"
      "  const d = document.createElement('div');\n"
      "  d.textContent = 'row ' + i;\n"
      "  out.appendChild(d);\n"
      "  window.junk.push(new Array(100).fill(i));\n"
      "}\n"
      "document.title = 'Script ' + location.search;\n",
      "application/javascript"};

  site["/form"] = {head +
                       "<title>Form</title><form><input name=q value=text><select name=s>"
                       "<option>one<option>two</select><textarea>notes</textarea>"
                       "<button>Send</button></window>",
                   "text/html"};
  site["/site.css"] = {"body{font:14px sans-serif;margin:1em}img{margin:4px}h1{color:#246}",
                       "text/css"};
  for (int k = 0; k < 8; ++k)
    site["/img/" + std::to_string(k) + ".svg"] = {image(k), "image/svg+xml"};
  return site;
}

const std::vector<std::string> kPages = {"/article", "/gallery", "/script", "/form"};

// --- The process tree --------------------------------------------------------------------------

struct Proc {
  std::string name;
  int ppid = 0;
};

std::map<int, Proc> all_processes() {
  std::map<int, Proc> out;
  DIR* dir = opendir("/proc");
  if (!dir) return out;
  while (dirent* e = readdir(dir)) {
    const int pid = std::atoi(e->d_name);
    if (pid <= 0) continue;
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) continue;
    // The name is in parentheses and may itself hold spaces or parentheses.
    const auto open = line.find('('), close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close + 2 > line.size())
      continue;
    std::istringstream rest(line.substr(close + 2));
    std::string state;
    Proc p;
    p.name = line.substr(open + 1, close - open - 1);
    if (rest >> state >> p.ppid) out.emplace(pid, p);
  }
  closedir(dir);
  return out;
}

// This program and every process descended from it: the engine's processes run under bwrap.
std::map<int, Proc> process_tree() {
  const auto all = all_processes();
  std::set<int> members{static_cast<int>(getpid())};
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& [pid, p] : all)
      if (!members.count(pid) && members.count(p.ppid)) grew = members.insert(pid).second;
  }
  std::map<int, Proc> out;
  for (int pid : members)
    if (auto it = all.find(pid); it != all.end()) out.emplace(pid, it->second);
  return out;
}

// A "Key:  123 kB" field of a /proc file, or -1 when it cannot be read.
long field_kb(int pid, const char* file, const char* key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
  std::string word;
  while (in >> word) {
    if (word == key) {
      long kb = -1;
      in >> kb;
      return kb;
    }
    in.ignore(1 << 16, '\n');
  }
  return -1;
}

bool is_web_process(const Proc& p) {
  // The kernel keeps 15 characters of a name: "WebKitWebProces".
  return p.name.rfind("WebKitWebProces", 0) == 0;
}

// --- The run -----------------------------------------------------------------------------------

class Soak {
 public:
  Soak(Glib::RefPtr<vel::Application> app, int navigations, int every, bool engine_only)
      : app_(std::move(app)), total_(navigations), every_(every), engine_only_(engine_only) {}

  ~Soak() {
    if (server_) g_object_unref(server_);
  }

  bool start_server() {
    site_ = make_site();
    server_ = soup_server_new(nullptr, nullptr);
    soup_server_add_handler(server_, nullptr, &Soak::serve, this, nullptr);
    GError* error = nullptr;
    if (!soup_server_listen_local(server_, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, &error)) {
      std::fprintf(stderr, "vel-soak: cannot serve on 127.0.0.1: %s\n", error->message);
      g_error_free(error);
      return false;
    }
    GSList* uris = soup_server_get_uris(server_);
    if (uris) port_ = g_uri_get_port(static_cast<GUri*>(uris->data));
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
    return true;
  }

  void start() {
    form_ = &app_->show_browser_window();
    app_->show_clock_window();
    form_->engine().signal_load_finished().connect([this] { on_load_finished(); });
    started_us_ = last_report_us_ = g_get_monotonic_time();
    std::printf("soak: %d navigations among %zu pages on 127.0.0.1:%d, clock window %s\n", total_,
                kPages.size(), port_, app_->clock_window() ? "open" : "NOT open");
    report("start");
    next();
  }

 private:
  static void serve(SoupServer*, SoupServerMessage* msg, const char* path, GHashTable*,
                    gpointer self) {
    auto* soak = static_cast<Soak*>(self);
    const auto& site = soak->site_;
    const auto it = site.find(path);
    ++soak->served_[it == site.end() ? "missing" : it->second.second];
    if (it == site.end()) {
      soup_server_message_set_status(msg, 404, nullptr);
      return;
    }
    soup_server_message_set_status(msg, 200, nullptr);
    auto* headers = soup_server_message_get_response_headers(msg);
    // Sub-resources are cached as a real site's would be; the pages themselves are not.
    if (it->second.second != "text/html")
      soup_message_headers_replace(headers, "Cache-Control", "max-age=3600");
    soup_server_message_set_response(msg, it->second.second.c_str(), SOUP_MEMORY_STATIC,
                                     it->second.first.data(), it->second.first.size());
  }

  void next() {
    if (done_ > 0 && done_ % every_ == 0 && done_ < total_) report(std::to_string(done_));
    if (done_ >= total_) {
      finish();
      return;
    }
    check_page();
    const std::string uri = "http://127.0.0.1:" + std::to_string(port_) +
                            kPages[done_ % kPages.size()] + "?n=" + std::to_string(done_);
    waiting_ = true;
    if (engine_only_) {
      form_->engine().navigate(uri);
    } else {
      // Typed and entered, as the user does: the address also goes into the box's list.
      form_->address_box().get_entry()->set_text(uri);
      form_->on_address_activated();
    }
    timeout_ = Glib::signal_timeout().connect(
        [this] {
          ++timeouts_;
          on_load_finished();
          return false;
        },
        kLoadTimeoutMs);
  }

  void on_load_finished() {
    if (!waiting_) return;
    waiting_ = false;
    timeout_.disconnect();
    ++done_;
    // The next navigation starts from the main loop, not from inside the engine's signal.
    Glib::signal_idle().connect_once([this] { next(); });
  }

  // A lost page process shows up either as the engine's message page or as a web process that
  // went away without the program asking.
  void check_page() {
    if (form_->engine().location_name() == kStoppedTitle) ++stopped_pages_;
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
      for (const auto& [pid, p] : process_tree())
        if (is_web_process(p)) web_pids_.insert(pid);
  }

  // One crash can show both ways; neither way alone sees every one.
  int crashes() const { return std::max(stopped_pages_, lost_processes_); }

  void report(const std::string& when) {
    long rss = 0, pss = 0;
    bool pss_known = true;
    std::map<std::string, std::pair<int, long>> by_name;  // name -> processes, RSS kB
    for (const auto& [pid, p] : process_tree()) {
      const long r = field_kb(pid, "status", "VmRSS:");
      const long s = field_kb(pid, "smaps_rollup", "Pss:");
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
        lost_processes_, timeouts_, test::address_list(*form_).size(),
        app_->clock_window() && app_->clock_window()->get_visible() ? "open" : "closed");
    // What the server answered, so a run of quick failures cannot pass for a run of pages.
    std::printf("soak served:");
    for (const auto& [type, count] : served_) std::printf(" %s=%d", type.c_str(), count);
    std::printf("\n");
    std::fflush(stdout);
    app_->quit_program();
  }

  Glib::RefPtr<vel::Application> app_;
  int total_, every_;
  bool engine_only_;
  SoupServer* server_ = nullptr;
  int port_ = 0;
  std::map<std::string, std::pair<std::string, std::string>> site_;  // path -> body, type
  std::map<std::string, int> served_;                                // type -> responses
  vel::BrowserWindow* form_ = nullptr;
  int done_ = 0;
  bool waiting_ = false;
  sigc::connection timeout_;
  int timeouts_ = 0;
  int stopped_pages_ = 0;
  int lost_processes_ = 0;
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
  if (!soak.start_server()) return 1;
  // The application's own activation opens the browser window; the run starts right after.
  app->signal_activate().connect([&] { soak.start(); }, true);
  char* program[] = {argv[0], nullptr};
  return app->run(1, program);
}
