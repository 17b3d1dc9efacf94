// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <glibmm/datetime.h>

#include <string>

namespace vel {

// The clock window's two read-outs for one reading of the clock, in the user's formats.
struct ClockReadouts {
  std::string time_of_day;  // hours, minutes and seconds, nothing added
  std::string date;         // the short date, nothing added
};

ClockReadouts clock_readouts(const Glib::DateTime& now);

}  // namespace vel
