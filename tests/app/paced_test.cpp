// The event loop as it runs for a child: paced at 60 frames a second, a still screen drawn ten
// times a second. A time of day set back under it; the moments that behaviours wait for,
// which a still screen must not delay (the scan's steps among them). (The whole first game runs on it too: full_game_test.)
#include <sys/time.h>

#include <chrono>
#include <cmath>

#include "platform/config.h"
#include "scenes/windows.h"
#include "support/game.h"

// The time of day as the system tells it, moved by `clock_step_ms`: what the game sees when a
// person or the network sets the clock back while it runs.
static double clock_step_ms = 0;
extern "C" int gettimeofday(struct timeval* __restrict now, void* __restrict) noexcept {
  timespec real;
  clock_gettime(CLOCK_REALTIME, &real);
  const double us = real.tv_sec * 1e6 + real.tv_nsec / 1e3 + clock_step_ms * 1000;
  now->tv_sec = static_cast<time_t>(us / 1e6);
  now->tv_usec = static_cast<suseconds_t>(std::fmod(us, 1e6));
  return 0;
}

namespace {

class Paced : public Game_test {
 protected:
  void TearDown() override {
    Game_test::TearDown();
    clock_step_ms = 0;
  }
  // A frame of the paced loop, then the delay it would give the next one on a still screen.
  double Still_delay() {
    Frame_interval_ms = 1000.0 / 60.0;
    Frame();
    Run_frame();
    Frame_interval_ms = 0;
    return Next_frame_delay_ms(true);
  }
};

TEST_F(Paced, AClockSetBackNeverHoldsUpTheNextFrame) {
  Frame_interval_ms = 1000.0 / 60.0;
  Time_of_day_ms = Real_time_of_day_ms;
  Build_boot_scene(Shut_down);
  Until([] { return false; }, 2000);  // the loader stands: a still screen
  clock_step_ms = -3000;
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    Frame();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  }
}

TEST_F(Paced, AStillScreenIsDrawnAgainInTimeForWhatWaitsOnTheClock) {
  Build_boot_scene(Shut_down);
  Run_for(4900);
  EXPECT_LE(Still_delay(), 51.0);  // at 4950 ms: the loader's five seconds end in 50 ms
  Run_for(2500);
  Open_help_window_delayed();
  Run_for(900);
  EXPECT_LE(Still_delay(), 51.0);  // the help stays invisible for a second, 50 ms more
  Config.scan_seconds = 1.0;
  Frame();
  Run_for(900);
  EXPECT_LE(Still_delay(), 51.0);  // the scan's next step
  Config = Config_record();
}

}  // namespace
