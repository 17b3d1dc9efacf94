#include "platform/window_timer.h"

#include <algorithm>

namespace vel {

WindowTimer::WindowTimer(unsigned interval_ms, bool enabled) : interval_ms_(interval_ms) {
  set_enabled(enabled);
}

WindowTimer::~WindowTimer() {
  source_.disconnect();
}

unsigned WindowTimer::effective_interval() const {
  return std::max(interval_ms_, kGranularityMs);
}

void WindowTimer::set_enabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled) {
    ++generation_;
    source_ = Glib::signal_timeout().connect(sigc::mem_fun(*this, &WindowTimer::on_timeout),
                                             effective_interval());
  } else {
    source_.disconnect();
  }
}

bool WindowTimer::on_timeout() {
  const unsigned generation = generation_;
  tick_.emit();
  // A handler may have disabled the timer, or disabled and re-enabled it, which made a new source.
  return enabled_ && generation == generation_;
}

}  // namespace vel
