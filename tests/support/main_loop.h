// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sigc++/signal.h>

#include <chrono>
#include <functional>

namespace vel::test {

// Runs the main loop until `done` holds or the deadline passes; true when it holds. The loop
// wakes now and then, so `done` may watch another process.
bool run_until(const std::function<bool()>& done,
               std::chrono::milliseconds deadline = std::chrono::seconds(20));
// Runs the main loop for the pending work only (no waiting).
void drain_events();
// Runs `start`, then the main loop until `finished` (an engine's end of a load) is raised or the
// deadline passes; true when it was raised.
bool wait_for_load(sigc::signal<void()>& finished, const std::function<void()>& start,
                   std::chrono::milliseconds deadline = std::chrono::seconds(20));

}  // namespace vel::test
