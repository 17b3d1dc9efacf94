// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <glibmm/datetime.h>

#include <string>

namespace vel {

// Local date and time as text in the user's regional formats (LC_TIME).
std::string format_time_of_day(const Glib::DateTime& t);  // hours, minutes and seconds
std::string format_short_time(const Glib::DateTime& t);   // hours and minutes
std::string format_date(const Glib::DateTime& t);         // the short date

// The locale's time format with its seconds field taken out, e.g. "%H:%M:%S" -> "%H:%M".
std::string without_seconds(const std::string& format);

}  // namespace vel
