// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/memory.h"

#include <glibmm/main.h>
#include <malloc.h>

namespace vel {

void release_free_memory_when_idle() {
  static sigc::connection pending;
  if (pending.connected()) return;
  // A moment after the load, so the page's first paints are over too.
  pending = Glib::signal_timeout().connect_seconds(
      [] {
        malloc_trim(0);
        return false;
      },
      1, Glib::PRIORITY_LOW);
}

}  // namespace vel
