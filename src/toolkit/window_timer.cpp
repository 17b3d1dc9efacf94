// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/window_timer.h"

#include <algorithm>

namespace vel {

WindowTimer::WindowTimer(unsigned interval_ms, bool enabled) : interval_ms_(interval_ms) {
  set_enabled(enabled);
}

WindowTimer::~WindowTimer() {
  source_.disconnect();
  soon_.disconnect();
}

void WindowTimer::tick_soon() {
  if (!enabled_ || soon_.connected()) return;
  soon_ = Glib::signal_idle().connect(
      [this] {
        if (enabled_) tick_.emit();
        return false;
      },
      Glib::PRIORITY_HIGH_IDLE);
}

unsigned WindowTimer::effective_interval() const {
  return std::max(interval_ms_, kGranularityMs);
}

void WindowTimer::set_enabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled)
    start_source();
  else
    source_.disconnect();
}

void WindowTimer::set_batch_period(unsigned period_ms) {
  if (period_ms <= effective_interval()) period_ms = 0;
  if (period_ms == batch_ms_) return;
  const unsigned generation = generation_;
  if (enabled_ && batch_ms_) deliver_owed(generation);  // nothing owed is lost on the way out
  batch_ms_ = period_ms;
  if (enabled_ && generation == generation_) start_source();
}

void WindowTimer::start_source() {
  source_.disconnect();
  ++generation_;
  last_tick_us_ = g_get_monotonic_time();
  source_ = Glib::signal_timeout().connect(sigc::mem_fun(*this, &WindowTimer::on_timeout),
                                           batch_ms_ ? batch_ms_ : effective_interval());
}

void WindowTimer::deliver_owed(unsigned generation) {
  const gint64 period_us = gint64(effective_interval()) * 1000;
  const gint64 owed = (g_get_monotonic_time() - last_tick_us_) / period_us;
  last_tick_us_ += owed * period_us;
  // A handler may disable the timer or restart it; then the rest is no longer owed.
  for (gint64 i = 0; i < owed && enabled_ && generation == generation_; ++i) tick_.emit();
}

bool WindowTimer::on_timeout() {
  const unsigned generation = generation_;
  if (batch_ms_) {
    deliver_owed(generation);
    return enabled_ && generation == generation_;
  }
  tick_.emit();
  // A handler may have disabled the timer, or disabled and re-enabled it, which made a new source.
  return enabled_ && generation == generation_;
}

}  // namespace vel
