// Input events into the mouse record; the quit chord.
#include "shell/input.h"

Mouse_record Mouse_state;

static bool super_held = false;

bool Handle_event(const SDL_Event& event) {
  switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT) {
        Mouse_state.pressed = 1;
        Mouse_state.held = 1;
        Mouse_state.x = event.button.x;
        Mouse_state.y = event.button.y;
        Mouse_state.fresh_press = 1;
        Mouse_state.late_release = 0;
      }
      return false;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT) {
        Mouse_state.held = 0;
        if (Mouse_state.fresh_press)
          Mouse_state.late_release = 1;
        else
          Mouse_state.pressed = 0;
      }
      return false;
    case SDL_MOUSEMOTION:
      Mouse_state.moved = 1;
      Mouse_state.x = event.motion.x;
      Mouse_state.y = event.motion.y;
      return false;
    case SDL_KEYDOWN: {
      SDLKey key = event.key.keysym.sym;
      if (key == SDLK_LSUPER || key == SDLK_RSUPER) super_held = true;
      unsigned mod = event.key.keysym.mod;
      bool command = (mod & KMOD_META) != 0 || (mod & KMOD_CTRL) != 0 || super_held;
      return key == SDLK_q && command;
    }
    case SDL_QUIT:
      // The window manager's close, or SIGINT/SIGTERM (a logout, Ctrl+C in a terminal): an
      // orderly quit, so that the settings are saved before the process goes.
      return true;
    case SDL_KEYUP:
      if (event.key.keysym.sym == SDLK_LSUPER || event.key.keysym.sym == SDLK_RSUPER)
        super_held = false;
      return false;
    default:
      return false;
  }
}

void Input_frame_done() {
  if (Mouse_state.late_release) Mouse_state.pressed = 0;
  Mouse_state.late_release = 0;
  Mouse_state.fresh_press = 0;
}
