// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "webkit/engine_settings.h"

typedef struct _WebKitWebContext WebKitWebContext;

namespace vel {

// Sets up what every view of the program shares, once, and returns it: the "vel:" pages served
// from the program's resources, certificate errors that fail closed, and the memory limit of the
// pages' processes (the first call's; later ones get the same context).
WebKitWebContext* set_up_web_context(const MemoryLimitSettings& memory = {});

// A quarter of the machine's physical memory, at least 1 GiB and at most 4 GiB, in MiB.
unsigned page_memory_limit_mb();

}  // namespace vel
