// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>

#include "webkit/engine_settings.h"

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitNetworkSession WebKitNetworkSession;

namespace vel {

// Sets up what every view of the program shares, once, and returns it: the "vel:" pages served
// from the program's resources, certificate errors that fail closed, and the memory limit of the
// pages' processes (the first call's; later ones get the same context).
WebKitWebContext* set_up_web_context(const MemoryLimitSettings& memory = {});

// The network session that every view of the program shares, made once (the first call's choice
// holds). Sites' data and cache are in the program's folders ($XDG_DATA_HOME and $XDG_CACHE_HOME,
// each in a folder named by the application id, mode 0700), their cookies in an SQLite file there.
// A private run, or one whose folders cannot be written, keeps all of it in memory only.
// Certificate errors fail closed.
WebKitNetworkSession* set_up_network_session(bool private_run = false);

// What went wrong in keeping sites' data when the session was made, in the user's words (a
// headline, then where and why), once: empty after it has been taken, and when nothing went wrong.
std::pair<std::string, std::string> take_site_data_problem();

// Spelling in text fields from now on (once; later calls do nothing), checked by the engine with
// the system's hunspell dictionaries in the user's languages. A dictionary takes tens of
// milliseconds to load and some megabytes to hold: the engine asks for it when the user first
// types or clicks in a page, not at start.
void check_spelling_soon();

// A quarter of the machine's physical memory, at least 1 GiB and at most 4 GiB, in MiB.
unsigned page_memory_limit_mb();

}  // namespace vel
