// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/local_time.h"

#include <langinfo.h>

namespace vel {

std::string without_seconds(const std::string& format) {
  for (const char* field : {"%S", "%OS", "%ES"}) {
    const auto at = format.find(field);
    if (at == std::string::npos) continue;
    std::string out = format;
    std::size_t begin = at, end = at + std::char_traits<char>::length(field);
    // Take the separator before the seconds with them ("%H:%M:%S", "%H.%M.%S"). A separator that
    // is a character of several bytes ("%H時%M分%S秒") would be cut in half: such a format gives
    // way to the plain one.
    if (begin > 0 && static_cast<unsigned char>(format[begin - 1]) >= 0x80) return "%H:%M";
    if (begin > 0 && format[begin - 1] != 'M' && format[begin - 1] != ' ') --begin;
    out.erase(begin, end - begin);
    return out;
  }
  // %T and %r carry seconds too.
  if (format == "%T") return "%H:%M";
  if (format == "%r") return "%I:%M %p";
  return format;
}

std::string format_time_of_day(const Glib::DateTime& t) {
  return t.format("%X");
}

std::string format_short_time(const Glib::DateTime& t) {
  const char* locale_format = nl_langinfo(T_FMT);
  const std::string format =
      without_seconds(locale_format && *locale_format ? locale_format : "%H:%M:%S");
  return t.format(format);
}

std::string format_date(const Glib::DateTime& t) {
  return t.format("%x");
}

}  // namespace vel
