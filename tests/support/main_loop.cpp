// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/main_loop.h"

#include <glib.h>

namespace vel::test {

bool run_until(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  // At the lowest priority: a check slower than the period leaves the waker due at every turn, and
  // a turn runs only the most urgent of the sources due, so a more urgent waker would starve the
  // toolkit's drawing (GDK_PRIORITY_REDRAW) for as long as the wait lasts.
  const guint waker = g_timeout_add_full(
      G_PRIORITY_LOW, 20, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr, nullptr);
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
