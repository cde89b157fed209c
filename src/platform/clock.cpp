// The millisecond clock.
#include "platform/clock.h"

#include <sys/time.h>

double (*Time_of_day_ms)() = Real_time_of_day_ms;

static double clock_origin = 0.0;

double Real_time_of_day_ms() {
  timeval now;
  gettimeofday(&now, nullptr);
  return now.tv_sec * 1000.0 + now.tv_usec / 1000.0;
}

void Start_clock() { clock_origin = Time_of_day_ms(); }

double Clock_ms() { return Time_of_day_ms() - clock_origin; }
