// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <glibmm/main.h>
#include <sigc++/signal.h>

namespace vel {

// A window timer: a period in milliseconds, an enabled flag and a tick signal, on the UI thread.
// Ticks never overlap a handler. Periods below the desktop timer granularity are delivered at it,
// so a 1 ms or 5 ms timer does not wake the program a thousand times a second.
class WindowTimer {
 public:
  static constexpr unsigned kGranularityMs = 16;

  explicit WindowTimer(unsigned interval_ms, bool enabled = false);
  ~WindowTimer();
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  unsigned interval() const { return interval_ms_; }
  // The period the platform really delivers.
  unsigned effective_interval() const;
  bool enabled() const { return enabled_; }
  // Enabling a running timer keeps it running on its current schedule.
  void set_enabled(bool enabled);

  // While set (non-zero), the timer wakes only every `period_ms` and delivers the ticks owed
  // since the last wake in a row: the same ticks, fewer wake-ups. For windows off screen, whose
  // ticks nobody sees arrive.
  void set_batch_period(unsigned period_ms);

  // One extra tick as soon as the loop is free (once, however often asked), when enabled.
  void tick_soon();

  sigc::signal<void()>& signal_tick() { return tick_; }

 private:
  bool on_timeout();
  void start_source();
  void deliver_owed(unsigned generation);

  unsigned interval_ms_;
  bool enabled_ = false;
  unsigned generation_ = 0;
  unsigned batch_ms_ = 0;
  gint64 last_tick_us_ = 0;  // when the last delivered tick was due, in batch mode
  sigc::connection source_;
  sigc::connection soon_;
  sigc::signal<void()> tick_;
};

}  // namespace vel
