// The millisecond clock.
#include "platform/clock.h"

#include <sys/time.h>
#include <time.h>

#include <algorithm>
#include <limits>

double (*Time_of_day_ms)() = Real_time_of_day_ms;

static double clock_origin = 0.0;

double Real_time_of_day_ms() {
  timeval now;
  gettimeofday(&now, nullptr);
  return now.tv_sec * 1000.0 + now.tv_usec / 1000.0;
}

void Start_clock() { clock_origin = Time_of_day_ms(); }

double Clock_ms() { return Time_of_day_ms() - clock_origin; }

double Monotonic_ms() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

static double wake_time = std::numeric_limits<double>::infinity();

void Wake_by(double clock_ms) { wake_time = std::min(wake_time, clock_ms); }

double Take_wake_time() {
  const double earliest = wake_time;
  wake_time = std::numeric_limits<double>::infinity();
  return earliest;
}
