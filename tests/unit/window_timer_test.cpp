// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/window_timer.h"

#include <glib.h>
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

TEST(WindowTimer, BatchedTicksAreTheSameTicksWithFewerWakeUps) {
  WindowTimer timer(16);
  int ticks = 0, wakes = 0;
  gint64 last_wake = 0;
  timer.signal_tick().connect([&] {
    ++ticks;
    if (g_get_monotonic_time() - last_wake > 50000) ++wakes;  // a new burst
    last_wake = g_get_monotonic_time();
  });
  const gint64 start = g_get_monotonic_time();
  timer.set_batch_period(250);
  timer.set_enabled(true);
  ASSERT_TRUE(run_until([&] { return ticks >= 40; }));
  EXPECT_LE(wakes, ticks / 5);  // several ticks to a wake
  // Leaving batch mode delivers what is owed at once: none of the elapsed ticks are lost.
  timer.set_batch_period(0);
  const gint64 elapsed_ticks = (g_get_monotonic_time() - start) / 16000;
  EXPECT_GE(ticks, elapsed_ticks - 1);
  EXPECT_LE(ticks, elapsed_ticks + 1);
}
