// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vel {

// Hands the memory the allocator holds free back to the system, a second later and only when
// nothing else is waiting to run. A page load and the window's start-up free much of what they
// allocated, and the allocator keeps it for later unless asked. Calls made meanwhile come to one.
void release_free_memory_when_idle();

}  // namespace vel
