// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/window_timer.h"

#include <gtest/gtest.h>

#include "support/main_loop.h"

using vel::WindowTimer;
using vel::test::run_until;

TEST(WindowTimer, AHandlerThatStopsAndRestartsTheTimerLeavesOneSchedule) {
  WindowTimer timer(16);
  int ticks = 0;
  timer.signal_tick().connect([&] {
    ++ticks;
    if (ticks == 1) {  // off and on again inside the tick
      timer.set_enabled(false);
      timer.set_enabled(true);
    }
    if (ticks == 6) timer.set_enabled(false);
  });
  timer.set_enabled(true);
  ASSERT_TRUE(run_until([&] { return ticks >= 6; }));
  // Had the old schedule survived beside the new one, ticks would come on after the stop.
  run_until([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(ticks, 6);
  EXPECT_FALSE(timer.enabled());
}
