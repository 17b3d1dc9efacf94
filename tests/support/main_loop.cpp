// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/main_loop.h"

#include <glib.h>

namespace vel::test {

bool run_until(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  const guint waker = g_timeout_add(
      20, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
  bool ok = done();
  while (!ok && std::chrono::steady_clock::now() < end) {
    g_main_context_iteration(nullptr, TRUE);
    ok = done();
  }
  g_source_remove(waker);
  return ok;
}

void drain_events() {
  while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
}

bool wait_for_load(sigc::signal<void()>& finished, const std::function<void()>& start,
                   std::chrono::milliseconds deadline) {
  bool ended = false;
  sigc::connection watch = finished.connect([&ended] { ended = true; });
  start();
  const bool ok = run_until([&ended] { return ended; }, deadline);
  watch.disconnect();
  return ok;
}

}  // namespace vel::test
