// The time value as text (the tests run in the C.UTF-8 locale).
#include "app/SvqReport.h"

#include <gtest/gtest.h>

using sv::FourDigitYearFormat;
using sv::SvqTimeText;

TEST(SvqTimeText, DateAloneAtMidnightOtherwiseDateAndTime) {
  EXPECT_EQ(SvqTimeText(0), "1899-12-30");
  EXPECT_EQ(SvqTimeText(2), "1900-01-01");
  EXPECT_EQ(SvqTimeText(46365.75), "2026-12-09 18:00:00");
  EXPECT_EQ(SvqTimeText(46365 + 1 / 86400.0), "2026-12-09 00:00:01");
  // Less than half a millisecond before midnight is midnight of the next day.
  EXPECT_EQ(SvqTimeText(46365 - 1e-10), "2026-12-09");
  EXPECT_EQ(SvqTimeText(2958465 + 86399 / 86400.0), "9999-12-31 23:59:59");
  EXPECT_EQ(SvqTimeText(-693593), "0001-01-01");
}

TEST(SvqTimeText, NegativeValuesSplitByFloor) {
  // 1899-12-29 06:00 is one day back plus a quarter day.
  EXPECT_EQ(SvqTimeText(-0.75), "1899-12-29 06:00:00");
  EXPECT_EQ(SvqTimeText(-1), "1899-12-29");
  EXPECT_EQ(SvqTimeText(-1.5), "1899-12-28 12:00:00");
}

TEST(SvqTimeText, LocaleFormatsGetAFourDigitYear) {
  EXPECT_EQ(FourDigitYearFormat("%m/%d/%y", 2026), "%m/%d/2026");
  EXPECT_EQ(FourDigitYearFormat("%d.%m.%Y", 7), "%d.%m.0007");
  EXPECT_EQ(FourDigitYearFormat("%%y %H:%M:%S %", 2026), "%%y %H:%M:%S %");
}
