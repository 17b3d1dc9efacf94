// The time and date texts in the user's formats: the clock window's read-outs and the status
// bar's hours and minutes.
#include "platform/local_time.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "clock/readout.h"

namespace vel {
namespace {

// Switches the time formats to a locale for one test. A locale that is not installed has its
// time category built into a scratch folder from the system's locale sources.
class TimeLocale {
 public:
  explicit TimeLocale(const std::string& name) : saved_(std::setlocale(LC_TIME, nullptr)) {
    if (std::setlocale(LC_TIME, name.c_str())) return;
    dir_ = g_dir_make_tmp("vel-locale-XXXXXX", nullptr);
    const auto dot = name.find('.');
    const std::string source = dir_ + "/source";
    g_file_set_contents(source.c_str(),
                        ("LC_TIME\ncopy \"" + name.substr(0, dot) + "\"\nEND LC_TIME\n").c_str(),
                        -1, nullptr);
    // Only the time category: the missing others make localedef warn and exit with 1.
    std::system(("localedef -c -i " + source + " -f " + name.substr(dot + 1) + " " + dir_ + "/" +
                 name + " >/dev/null 2>&1")
                    .c_str());
    g_setenv("LOCPATH", dir_.c_str(), TRUE);
    ok_ = std::setlocale(LC_TIME, name.c_str()) != nullptr;
    g_unsetenv("LOCPATH");  // the locale's data is loaded now
  }
  ~TimeLocale() {
    std::setlocale(LC_TIME, saved_.c_str());
    if (!dir_.empty()) std::system(("rm -rf " + dir_).c_str());
  }
  bool ok() const { return ok_; }

 private:
  std::string saved_, dir_;
  bool ok_ = true;
};

Glib::DateTime at(int h, int mi, double s) {
  return Glib::DateTime::create_local(2024, 3, 7, h, mi, s);
}

TEST(LocalTime, ReadoutsInTheCLocale) {
  TimeLocale c("C.UTF-8");
  // Seconds are cut, not rounded; nothing is added to either text.
  const ClockReadouts text = clock_readouts(at(13, 5, 9.75));
  EXPECT_EQ(text.time_of_day, "13:05:09");
  EXPECT_EQ(text.date, "03/07/24");
}

TEST(LocalTime, HoursAndMinutesInTheLocaleFormat) {
  struct Case {
    const char* locale;
    const char* afternoon;  // 13:05:59
    const char* midnight;   // 00:00:30
    const char* noon;       // 12:00:00
  };
  for (const Case& c : {Case{"C.UTF-8", "13:05", "00:00", "12:00"},
                        Case{"en_US.UTF-8", "01:05 PM", "12:00 AM", "12:00 PM"}}) {
    SCOPED_TRACE(c.locale);
    TimeLocale locale(c.locale);
    if (!locale.ok()) {
      ADD_FAILURE() << "cannot build the locale; are the locale sources installed?";
      continue;
    }
    EXPECT_EQ(format_short_time(at(13, 5, 59)), c.afternoon);
    EXPECT_EQ(format_short_time(at(0, 0, 30)), c.midnight);
    EXPECT_EQ(format_short_time(at(12, 0, 0)), c.noon);
  }
}

TEST(LocalTime, SecondsTakenOutOfOtherTimeFormats) {
  EXPECT_EQ(without_seconds("%T"), "%H:%M");
  EXPECT_EQ(without_seconds("%H.%M.%S"), "%H.%M");
  EXPECT_EQ(without_seconds("%I:%M:%S %p"), "%I:%M %p");
  EXPECT_EQ(without_seconds("%H:%M"), "%H:%M");
}

}  // namespace
}  // namespace vel
