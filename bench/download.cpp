// SPDX-License-Identifier: GPL-3.0-or-later
// What a download costs: the real browser window with the real engine in this process downloads a
// file from the benchmarks' page server, and this prints, per run, the time from the request to
// "Saved" (and so the rate), the CPU time of this process meanwhile (the window's share: its
// status-bar updates, the rename), and how many times the status bar was updated. The file goes to
// a folder of its own, removed at the end.
//
// usage: vel-download RUNS ADDRESS   prints "download RUN SECONDS MB_PER_S CPU_MS UPDATES".
#include <glib.h>
#include <gtkmm/application.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/main_loop.h"
#include "support/seam.h"
#include "toolkit/graphics.h"
#include "webkit/webkit_engine.h"
#include "windows/browser/browser_window.h"

namespace {

double cpu_ms() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void run(Glib::RefPtr<Gtk::Application> app, int runs, const std::string& address) {
  vel::BrowserWindow window(vel::make_webkit_engine());
  app->add_window(window);
  window.present_and_open();
  auto& engine = vel::test::Seam::engine(window);
  for (int run = 0; run < runs; ++run) {
    vel::DownloadEvent ended;
    int updates = 0;
    auto told = engine.signal_download().connect([&](const vel::DownloadEvent& event) {
      if (event.stage == vel::DownloadEvent::Stage::Progress) ++updates;
      if (event.stage != vel::DownloadEvent::Stage::Started &&
          event.stage != vel::DownloadEvent::Stage::Progress)
        ended = event;
    });
    const gint64 start_us = g_get_monotonic_time();
    const double start_cpu = cpu_ms();
    engine.navigate(address + "?run=" + std::to_string(run));
    const bool done = vel::test::run_until([&] { return ended.id != 0; }, std::chrono::minutes(2));
    const double seconds = (g_get_monotonic_time() - start_us) / 1e6;
    const double cpu = cpu_ms() - start_cpu;
    told.disconnect();
    if (!done || ended.stage != vel::DownloadEvent::Stage::Finished) {
      std::printf("download %d n/a\n", run);
      std::fprintf(stderr, "vel-download: run %d: %s\n", run, ended.error.c_str());
    } else {
      std::printf("download %d %.2f %.1f %.1f %d\n", run, seconds, ended.received / 1e6 / seconds,
                  cpu, updates);
      std::filesystem::remove(ended.file);
    }
    std::fflush(stdout);
    // The "Saved" message goes, so that the next run starts as this one did.
    for (Gtk::Window* other : app->get_windows())
      if (other != &window) other->hide();
  }
  window.hide();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fputs("usage: vel-download RUNS ADDRESS\n", stderr);
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const std::string address = argv[2];
  // A download folder of its own, named before GTK reads the user's folders.
  std::string name = (std::filesystem::temp_directory_path() / "vel-bench-dl-XXXXXX").string();
  const std::filesystem::path root = mkdtemp(name.data());
  std::filesystem::create_directories(root / "config");
  std::ofstream(root / "config" / "user-dirs.dirs")
      << "XDG_DOWNLOAD_DIR=\"" << (root / "downloads").string() << "\"\n";
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);

  vel::ToolkitGraphicsChoice graphics;
  auto app =
      Gtk::Application::create("org.velbrowser.BenchDownload", Gio::Application::Flags::NON_UNIQUE);
  graphics.restore();
  app->signal_activate().connect([&] { run(app, runs, address); });
  char* program[] = {argv[0], nullptr};
  const int status = app->run(1, program);
  std::filesystem::remove_all(root);
  return status;
}
