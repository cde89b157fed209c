// The event loop as it runs for a child: paced at 60 frames a second, a still screen resting
// until input, an exposure or the moment a behaviour waits for (the loader's five seconds, the
// help's delayed fade-in, the scan's next step), the music streaming on through the rest. A
// time of day set back under it. (The whole first game runs on it too: full_game_test.)
#include <sys/time.h>

#include <chrono>
#include <cmath>

#include "platform/config.h"
#include "scenes/game_screen.h"
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

// Frames drawn, counted by a function of its own below the root.
int frames_drawn = 0;
void Count_frame() { ++frames_drawn; }
void Count_frames() {
  Add_started_function(new Object("test", "counter"), "count", Count_frame, After_list);
  Link_object(Main_object, "test", "counter");
}

class Paced : public Game_test {
 protected:
  void TearDown() override {
    Game_test::TearDown();
    clock_step_ms = 0;
  }
};

TEST_F(Paced, AClockSetBackNeverHoldsUpTheNextFrame) {
  Frame_interval_ms = 1000.0 / 60.0;
  Time_of_day_ms = Real_time_of_day_ms;
  Build_boot_scene(Shut_down);
  Until([] { return false; }, 2000);  // the loader stands: a still screen
  clock_step_ms = -3000;
  for (int i = 0; i < 5; ++i) {  // the loader's stay now ends 3 s later, but input is answered
    const auto start = std::chrono::steady_clock::now();
    Push_motion(100 + i, 100);
    Frame();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  }
}

TEST_F(Paced, AStillScreenIsDrawnOnlyForInputAnExposureOrTheMomentABehaviourWaitsFor) {
  Build_boot_scene(Shut_down);
  Count_frames();
  Run_for(2000);  // the loader has faded in; it stands until 5000 ms
  const int drawn = frames_drawn;
  Run_for(1000);
  EXPECT_EQ(frames_drawn, drawn);
  for (Uint8 type : {SDL_MOUSEMOTION, SDL_VIDEOEXPOSE}) {
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
    const int before = frames_drawn;
    Frame(0);
    EXPECT_EQ(frames_drawn, before + 1) << "event " << int(type);
    Run_for(150);  // one more frame shows that nothing moves, then it rests
    EXPECT_EQ(frames_drawn, before + 2) << "event " << int(type);
  }
  Run_for(4950 - test_now);
  EXPECT_EQ(frames_drawn, drawn + 4);
  EXPECT_LE(Next_frame_delay_ms(true), 51.0);  // a paced loop would sleep no longer
  Frame();  // 5000 ms, the moment asked for
  EXPECT_EQ(frames_drawn, drawn + 5);
  Frame();  // the first frame past the five seconds starts the fade-out
  EXPECT_EQ(Params({"z_Int_store", "loader", "long_hide"})["TIME"].value.number, 5050);
  Run_for(2500);  // the piece-count window stands; the help stays invisible for a second
  Open_help_window_delayed();
  Run_for(950);
  EXPECT_LE(Next_frame_delay_ms(true), 51.0);
  Run_for(100);
  EXPECT_GT(Params({"z_Int_store", "m_help", "long_view"})["OPTICALY"].value.number, 0);
  Config.scan_seconds = 1.0;
  Frame();
  Run_for(950);
  EXPECT_LE(Next_frame_delay_ms(true), 51.0);  // the scan's next step
  Config = Config_record();
}

TEST_F(Paced, TheMusicStreamsOnThroughARest) {
  Frame_interval_ms = 1000.0 / 60.0;
  Time_of_day_ms = Real_time_of_day_ms;
  Start_clock();
  Create_main_object();
  Start_sound_system();
  Build_game_screen();  // the music starts, the piece-count window fades in and stands
  Count_frames();
  Until([] { return false; }, 1500);
  const int drawn = frames_drawn;
  Until([] { return false; }, 2500);  // longer than its four queued chunks play
  EXPECT_LE(frames_drawn, drawn + 1);
  ASSERT_EQ(sample_list.size(), 1u);
  ALint state = 0;
  alGetSourcei(sample_list[0]->source, AL_SOURCE_STATE, &state);
  EXPECT_EQ(state, AL_PLAYING);
}

}  // namespace
