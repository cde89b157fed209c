// The millisecond clock and its test seam.
#include <gtest/gtest.h>
#include <sys/time.h>

#include "platform/clock.h"
#include "support/support.h"

namespace {

TEST(Clock, ReadsTheTimeOfDayInMillisecondsRelativeToItsStart) {
  Time_of_day_ms = Real_time_of_day_ms;
  timeval now;
  gettimeofday(&now, nullptr);
  double expected = now.tv_sec * 1000.0 + now.tv_usec / 1000.0;
  // Before Start_clock the origin is 0: the absolute time of day.
  EXPECT_NEAR(Clock_ms(), expected, 50.0);
  Start_clock();
  double since = Clock_ms();
  EXPECT_GE(since, 0.0);
  EXPECT_LT(since, 50.0);
}

TEST(Clock, TestClockDrivesTimeWithoutSleeping) {
  Use_test_clock(0.0);
  EXPECT_EQ(Clock_ms(), 0.0);
  Set_test_clock(1234.5);
  EXPECT_EQ(Clock_ms(), 1234.5);
  Time_of_day_ms = Real_time_of_day_ms;
}

}  // namespace
