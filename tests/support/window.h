// The test window and the test clock, and real SDL input events: a small 640 x 400 window
// (the screen's shape, a fifth of its pixels), a clock the test moves, pointer events at the
// pixel that shows a world point, and pixels read back from the frame.
#pragma once
#include <GL/gl.h>
#include <SDL.h>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/video.h"

inline void Ensure_window() {
  if (Video_ptr == nullptr) Open_video(640, 400);
}

// No events waiting, no pointer state: what an earlier test pushed is gone.
inline void Forget_input() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
  }
  Mouse_state = Mouse_record();
  Pressed_keys.clear();
}

inline double test_now = 0.0;
inline double Test_time_of_day_ms() { return test_now; }
// The clock reads `now_ms` from here on; its origin is 0.
inline void Use_test_clock(double now_ms = 0.0) {
  test_now = 0.0;
  Time_of_day_ms = Test_time_of_day_ms;
  Start_clock();
  test_now = now_ms;
}

// Window pixel (origin top left) that shows the world point (x, y, z).
inline void Pixel_of(double x, double y, double z, int& px, int& py) {
  const double distance = Camera_distance - z;
  px = static_cast<int>(Video_ptr->width / 2.0 * (1.0 + x / View_half_width(Video_ptr, distance)));
  py = static_cast<int>(Video_ptr->height / 2.0 * (1.0 - y / View_half_height(Video_ptr, distance)));
}

inline void Push_motion(int px, int py) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.x = static_cast<Uint16>(px);
  event.motion.y = static_cast<Uint16>(py);
  SDL_PushEvent(&event);
}

inline void Push_button(bool down, int px, int py) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.button = SDL_BUTTON_LEFT;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.x = static_cast<Uint16>(px);
  event.button.y = static_cast<Uint16>(py);
  SDL_PushEvent(&event);
}

inline SDL_Event Key_event(Uint8 type, SDLKey key, unsigned mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  event.key.keysym.mod = static_cast<SDLMod>(mod);
  return event;
}

// The pointer moves to the world point and the left button goes down there; with `release`,
// it comes up again in the same burst of events (a quick tap).
inline void Push_press_at(double x, double y, double z, bool release = false) {
  int px, py;
  Pixel_of(x, y, z, px, py);
  Push_motion(px, py);
  Push_button(true, px, py);
  if (release) Push_button(false, px, py);
}

// Red of the frame's pixel at the world point.
inline int Red_at(double x, double y, double z) {
  int px, py;
  Pixel_of(x, y, z, px, py);
  unsigned char rgba[4] = {0, 0, 0, 0};
  glReadPixels(px, Video_ptr->height - 1 - py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return rgba[0];
}
