// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/clock/readout.h"

#include "toolkit/local_time.h"

namespace vel {

ClockReadouts clock_readouts(const Glib::DateTime& now) {
  return {format_time_of_day(now), format_date(now)};
}

}  // namespace vel
