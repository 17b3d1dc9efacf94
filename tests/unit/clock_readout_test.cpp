#include <gtest/gtest.h>

#include <clocale>

#include "clock/readout.h"

namespace vel {
namespace {

// Restores the time locale a test changed.
class TimeLocale {
 public:
  explicit TimeLocale(const char* name) : saved_(std::setlocale(LC_TIME, nullptr)) {
    std::setlocale(LC_TIME, name);
  }
  ~TimeLocale() { std::setlocale(LC_TIME, saved_.c_str()); }

 private:
  std::string saved_;
};

Glib::DateTime local(int y, int mo, int d, int h, int mi, double s) {
  return Glib::DateTime::create_local(y, mo, d, h, mi, s);
}

TEST(ClockReadouts, TimeAndDateAloneInTheLocaleFormats) {
  TimeLocale c("C.UTF-8");
  const auto text = clock_readouts(local(2024, 3, 7, 13, 5, 9.75));
  // Seconds are cut, not rounded; no prefix, no zone name.
  EXPECT_EQ(text.time_of_day, "13:05:09");
  EXPECT_EQ(text.date, "03/07/24");
}

TEST(ClockReadouts, MidnightChangesTheDate) {
  TimeLocale c("C.UTF-8");
  const auto before = clock_readouts(local(2023, 12, 31, 23, 59, 59.95));
  const auto after = clock_readouts(local(2024, 1, 1, 0, 0, 0.05));
  EXPECT_EQ(before.time_of_day, "23:59:59");
  EXPECT_EQ(before.date, "12/31/23");
  EXPECT_EQ(after.time_of_day, "00:00:00");
  EXPECT_EQ(after.date, "01/01/24");
}

}  // namespace
}  // namespace vel
