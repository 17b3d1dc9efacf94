#include "platform/window_timer.h"

#include <glib.h>
#include <gtest/gtest.h>

using vel::WindowTimer;

namespace {

// Turns the main loop until `done` holds (with a generous deadline).
bool spin_until(const std::function<bool()>& done) {
  const gint64 end = g_get_monotonic_time() + 20 * G_USEC_PER_SEC;
  while (!done() && g_get_monotonic_time() < end) g_main_context_iteration(nullptr, TRUE);
  return done();
}

}  // namespace

TEST(WindowTimer, ShortPeriodsRunAtTheDesktopGranularity) {
  EXPECT_EQ(WindowTimer(1).effective_interval(), WindowTimer::kGranularityMs);
  EXPECT_EQ(WindowTimer(200).effective_interval(), 200u);
  EXPECT_FALSE(WindowTimer(200).enabled());
}

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
  ASSERT_TRUE(spin_until([&] { return ticks >= 6; }));
  // Had the old schedule survived beside the new one, ticks would come on after the stop.
  const gint64 until = g_get_monotonic_time() + 200000;
  while (g_get_monotonic_time() < until) g_main_context_iteration(nullptr, FALSE);
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
  ASSERT_TRUE(spin_until([&] { return ticks >= 40; }));
  EXPECT_LE(wakes, ticks / 5);  // several ticks to a wake
  // Leaving batch mode delivers what is owed at once: none of the elapsed ticks are lost.
  timer.set_batch_period(0);
  const gint64 elapsed_ticks = (g_get_monotonic_time() - start) / 16000;
  EXPECT_GE(ticks, elapsed_ticks - 1);
  EXPECT_LE(ticks, elapsed_ticks + 1);
  // A batch period no longer than the interval means no batching.
  timer.set_batch_period(10);
  EXPECT_EQ(timer.batch_period(), 0u);
}

TEST(WindowTimer, TickSoonAddsOneTickOnlyWhileEnabled) {
  WindowTimer timer(1000);
  int ticks = 0;
  timer.signal_tick().connect([&] { ++ticks; });
  timer.tick_soon();  // disabled: nothing
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
  EXPECT_EQ(ticks, 0);
  timer.set_enabled(true);
  timer.tick_soon();
  timer.tick_soon();  // asked twice before the loop was free: still one tick
  ASSERT_TRUE(spin_until([&] { return ticks >= 1; }));
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
  EXPECT_EQ(ticks, 1);
}
