// SPDX-License-Identifier: GPL-3.0-or-later
// Vel Browser: a small desktop web browser.
#include <glibmm/miscutils.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/application.h"
#include "config.h"
#include "core/address.h"
#include "toolkit/graphics.h"

namespace {

constexpr const char* kUsage =
    "Usage: vel-browser [--private] [ADDRESS]\n"
    "A small web browser. Opens ADDRESS (a web address or a file) when given.\n"
    "\n"
    "  --private  a private run: cookies, site storage, cache and passwords are kept\n"
    "             in memory only, and nothing of them is written to disk\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n";

// A relative path to an existing file is meant as that file.
std::string resolve_argument(const std::string& arg) {
  if (arg.empty() || arg.front() == '/' || !vel::uri_scheme(arg).empty()) return arg;
  std::error_code ec;
  if (std::filesystem::is_regular_file(arg, ec))
    return std::filesystem::absolute(arg, ec).lexically_normal().string();
  return arg;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::string address;
  bool have_address = false, private_run = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::printf("vel-browser %s\n", vel::config::kVersion);
      return 0;
    }
    if (std::strcmp(arg, "--private") == 0) {
      private_run = true;
      continue;
    }
    if (std::strcmp(arg, "--") != 0 && arg[0] == '-' && arg[1] != '\0') {
      std::fprintf(stderr, "vel-browser: unknown option '%s'\n%s", arg, kUsage);
      return 2;
    }
    if (std::strcmp(arg, "--") == 0) {
      if (i + 1 < argc)
        arg = argv[++i];
      else
        break;
    }
    if (have_address) {
      std::fprintf(stderr, "vel-browser: only one address can be opened\n%s", kUsage);
      return 2;
    }
    address = resolve_argument(arg);
    have_address = true;
  }

  // The desktop matches windows to the desktop entry by their X class, which GTK takes from the
  // program's name: give it the application id before GTK starts.
  Glib::set_prgname(vel::config::kAppId);
  Glib::set_application_name("Vel Browser");
  // In force for the whole run, so that the engine's page processes, which start later, inherit
  // it; the programs the browser starts do not (hand_back_graphics_setting).
  vel::ToolkitGraphicsChoice graphics;
  // GTK starts here.
  auto app = vel::Application::create(address, {}, private_run);
  char* program[] = {argv[0], nullptr};
  return app->run(1, program);
}
