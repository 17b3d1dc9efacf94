// SPDX-License-Identifier: GPL-3.0-or-later
// The time texts in the user's formats: the clock window's read-outs and the status bar's hours
// and minutes.
#include "toolkit/local_time.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "windows/clock/readout.h"

namespace vel {
namespace {

Glib::DateTime at(int h, int mi, double s) {
  return Glib::DateTime::create_local(2024, 3, 7, h, mi, s);
}

TEST(LocalTime, SecondsAreCutNotRoundedAndHoursAndMinutesAreInTheUsersFormat) {
  // The C locale (the clock window's tests see the read-outs whole).
  EXPECT_EQ(clock_readouts(at(13, 5, 9.75)).time_of_day, "13:05:09");
  EXPECT_EQ(format_short_time(at(13, 5, 59)), "13:05");
  {  // en_US's time format is "%r": "01:05:59 PM". Its time category is built into a scratch
     // folder from the system's locale sources, in case it is not installed.
    char* made = g_dir_make_tmp("vel-locale-XXXXXX", nullptr);
    const std::string saved = std::setlocale(LC_TIME, nullptr), dir = made;
    g_free(made);
    g_file_set_contents((dir + "/source").c_str(), "LC_TIME\ncopy \"en_US\"\nEND LC_TIME\n", -1,
                        nullptr);
    // Only the time category: localedef warns of the others missing and exits with 1.
    std::system(("localedef -c -i " + dir + "/source -f UTF-8 " + dir + "/en_US.UTF-8 2>/dev/null")
                    .c_str());
    g_setenv("LOCPATH", dir.c_str(), TRUE);
    EXPECT_TRUE(std::setlocale(LC_TIME, "en_US.UTF-8"));
    g_unsetenv("LOCPATH");  // the locale's data is loaded now
    EXPECT_EQ(format_short_time(at(13, 5, 59)), "01:05 PM");
    EXPECT_EQ(format_short_time(at(0, 0, 30)), "12:00 AM");
    std::setlocale(LC_TIME, saved.c_str());
    std::filesystem::remove_all(dir);
  }
  // Other formats the seconds are taken out of.
  EXPECT_EQ(without_seconds("%T"), "%H:%M");
  EXPECT_EQ(without_seconds("%H.%M.%S"), "%H.%M");
  EXPECT_EQ(without_seconds("%I:%M:%S %p"), "%I:%M %p");
  EXPECT_EQ(without_seconds("%H:%M"), "%H:%M");
  // A separator of several bytes is never cut in half.
  EXPECT_EQ(without_seconds("%H時%M分%S秒"), "%H:%M");
}

}  // namespace
}  // namespace vel
