// The event loop on real SDL events: the mouse record, the quit chord, one frame per drain.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include "app/frame.h"
#include "behaviours/fades.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "runtime/params.h"
#include "runtime/process.h"
#include "support/scene.h"
#include "support/support.h"

namespace {

struct Frame_view {
  int x, y;
  int pressed, moved;
};
std::vector<Frame_view> frames;
int quit_after_frames = 0;  // pushes Ctrl+Q once this many frames have run
float modelview_z = 0;

void Push_key(SDLKey key, SDLMod mod, bool down = true) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  event.key.keysym.mod = mod;
  SDL_PushEvent(&event);
}


// Runs on the root object every frame and records what the frame saw.
void Observe() {
  frames.push_back({Mouse_state.x, Mouse_state.y, Mouse_state.pressed, Mouse_state.moved});
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  modelview_z = m[14];
  if (static_cast<int>(frames.size()) == quit_after_frames) Push_key(SDLK_q, KMOD_LCTRL);
}

class EventLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    Ensure_video();
    Reset_runtime();
    // Discard whatever the window system sent at start-up.
    SDL_Event ignored;
    while (SDL_PollEvent(&ignored)) {
    }
    Mouse_state = Mouse_record();
    frames.clear();
    quit_after_frames = 0;
    Main_object = new Object("Main_store", "main");
    Add_function(Main_object, "observe", Observe);
    Main_object->before_list.push_back("observe");
  }
  void TearDown() override { Reset_runtime(); }
  // Runs the loop, with Ctrl+Q pushed after `quit_after` frames; the frames it ran.
  static size_t Frames_until_quit(int quit_after) {
    frames.clear();
    quit_after_frames = quit_after;
    Run_event_loop();
    return frames.size();
  }
};

TEST_F(EventLoop, MetaQOrSuperQQuitAfterOneFramePlainQOrQAfterALostSuperReleaseDoNot) {
  Push_key(SDLK_q, KMOD_LMETA);
  Push_key(SDLK_q, KMOD_LMETA, false);  // released before the first frame
  EXPECT_EQ(Frames_until_quit(0), 1u);
  EXPECT_FLOAT_EQ(modelview_z, -100.0f);

  Push_key(SDLK_q, KMOD_NONE);
  EXPECT_EQ(Frames_until_quit(3), 4u);

  Push_key(SDLK_LSUPER, KMOD_NONE);
  Push_key(SDLK_LSUPER, KMOD_NONE, false);
  Push_key(SDLK_q, KMOD_NONE);
  EXPECT_EQ(Frames_until_quit(2), 3u);

  // Super+Q typed in one burst: the Super release still waits behind the Q.
  Push_key(SDLK_RSUPER, KMOD_NONE);
  Push_key(SDLK_q, KMOD_NONE);
  Push_key(SDLK_RSUPER, KMOD_NONE, false);
  EXPECT_EQ(Frames_until_quit(0), 1u);

  // A Super press whose release never came (the desktop took it, or the keyboard went to
  // another window): SDL's key state says no Super key is down, so Q is a plain Q.
  Push_key(SDLK_LSUPER, KMOD_NONE);
  Push_key(SDLK_q, KMOD_NONE);
  EXPECT_EQ(Frames_until_quit(2), 3u);
}

TEST_F(EventLoop, TerminationSignalQuitsAfterOneCompleteFrame) {
  // SDL turns SIGTERM into its quit request, as it does the window manager's close.
  raise(SIGTERM);
  EXPECT_EQ(Frames_until_quit(3), 1u);  // Ctrl+Q later, should the signal be ignored
}

TEST_F(EventLoop, ABurstOfMotionCostsOneFrameAndTheRightButtonDoesNothing) {
  Push_motion(10, 20);
  Push_motion(30, 40);
  Push_motion(500, 600);
  Push_button(true, 700, 800, SDL_BUTTON_RIGHT);
  ASSERT_EQ(Frames_until_quit(1), 2u);
  EXPECT_EQ(frames[0].x, 500);
  EXPECT_EQ(frames[0].y, 600);
  EXPECT_EQ(frames[0].moved, 1);
  EXPECT_EQ(frames[0].pressed, 0);
}

TEST_F(EventLoop, PressAndReleaseInOneBurstStillReachTheNextFrame) {
  Push_button(true, 300, 400, SDL_BUTTON_LEFT);
  Push_button(false, 310, 410, SDL_BUTTON_LEFT);
  ASSERT_GE(Frames_until_quit(2), 2u);
  EXPECT_EQ(frames[0].pressed, 1);
  EXPECT_EQ(frames[0].x, 300);
  EXPECT_EQ(frames[0].y, 400);
  // No pickable model took the press; the release still drops it after that frame.
  EXPECT_EQ(frames[1].pressed, 0);
}

TEST_F(EventLoop, ReleaseAfterAFrameClearsThePressAtOnce) {
  Push_button(true, 300, 400, SDL_BUTTON_LEFT);
  Frames_until_quit(1);
  EXPECT_EQ(Mouse_state.pressed, 1);
  Push_button(false, 300, 400, SDL_BUTTON_LEFT);
  SDL_Event event;
  while (SDL_PollEvent(&event)) Handle_event(event);
  EXPECT_EQ(Mouse_state.pressed, 0);
}

// A fade-in through the real, paced loop on the real clock: 60 frames a second while it runs,
// ten once the screen is still, and the fade ends on time.
TEST(Pacing, AMovingScreenComesSixtyTimesASecondAStillOneTenAndTheFadeKeepsItsTime) {
  Ensure_video();
  Reset_runtime();
  Time_of_day_ms = Real_time_of_day_ms;
  Frame_interval_ms = 1000.0 / 60.0;
  Start_clock();
  Main_object = new Object("Main_store", "main");
  Object* fading = new Object("Int_store", "fading");
  Add_fade_in(fading, Fade_in);
  Link_object(Main_object, "Int_store", "fading");
  int moving_frames = 0, still_frames = 0;
  double faded_at = -1;
  while (Clock_ms() < 1600) {
    Run_loop_step();
    const bool fading_now = Has_fun_param(fading, "long_view", "OPTICALY");
    if (fading_now) ++moving_frames;
    if (!fading_now && faded_at < 0) faded_at = Clock_ms();
    if (!fading_now && Clock_ms() > 1100) ++still_frames;
  }
  Frame_interval_ms = 0;
  Reset_runtime();
  EXPECT_GE(faded_at, 1000);
  EXPECT_LT(faded_at, 1000 + 2 * 1000.0 / 60.0 + 8);
  EXPECT_GE(moving_frames, 50);
  EXPECT_LE(moving_frames, 63);
  EXPECT_GE(still_frames, 3);
  EXPECT_LE(still_frames, 7);
}

}  // namespace
