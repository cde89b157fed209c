// Input events into the mouse record; the quit chord.
#include "platform/input.h"

#include "platform/clock.h"
#include "platform/config.h"

Mouse_record Mouse_state;
std::vector<Key_press> Pressed_keys;
bool Press_is_pick = false;

// Classroom mode's chord: when Ctrl+Q went down (Clock_ms), while both are still held; -1: not.
static double held_chord_since = -1.0;

static bool super_held = false;

static bool Is_super(SDLKey key) { return key == SDLK_LSUPER || key == SDLK_RSUPER; }

// A Super key went down and was still down when the event being handled arrived: SDL's key
// state says so, or the Super release is still waiting in the queue behind this event (SDL's
// key state is that of the newest event it has read). A held Super whose release never came
// is forgotten here.
static bool Super_down() {
  if (!super_held) return false;
  const Uint8* keys = SDL_GetKeyState(nullptr);
  if (keys != nullptr && (keys[SDLK_LSUPER] != 0 || keys[SDLK_RSUPER] != 0)) return true;
  SDL_Event pending[64];
  int count = SDL_PeepEvents(pending, 64, SDL_PEEKEVENT, SDL_KEYUPMASK);
  for (int i = 0; i < count; ++i)
    if (Is_super(pending[i].key.keysym.sym)) return true;
  super_held = false;
  return false;
}

bool Handle_event(const SDL_Event& event) {
  switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT && Press_is_pick) {
        Pressed_keys.push_back({SDLK_SPACE, KMOD_NONE});
        return false;
      }
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
      if (event.button.button == SDL_BUTTON_LEFT && !Press_is_pick) {
        Mouse_state.held = 0;
        if (Mouse_state.fresh_press) {
          Mouse_state.late_release = 1;
        } else {
          Mouse_state.pressed = 0;
          Mouse_state.dropped = 1;
          Mouse_state.x = event.button.x;
          Mouse_state.y = event.button.y;
        }
      }
      return false;
    case SDL_MOUSEMOTION:
      Mouse_state.moved = 1;
      Mouse_state.x = event.motion.x;
      Mouse_state.y = event.motion.y;
      return false;
    case SDL_KEYDOWN: {
      SDLKey key = event.key.keysym.sym;
      if (Is_super(key)) super_held = true;
      unsigned mod = event.key.keysym.mod;
      if (Config.classroom) {
        const bool chord = key == SDLK_q && (mod & KMOD_CTRL) != 0;
        if (chord && held_chord_since < 0) held_chord_since = Clock_ms();
        if (!chord) Pressed_keys.push_back({key, mod});
        return false;
      }
      bool command = (mod & KMOD_META) != 0 || (mod & KMOD_CTRL) != 0 || Super_down();
      if (key == SDLK_q && command) return true;
      Pressed_keys.push_back({key, mod});
      return false;
    }
    case SDL_ACTIVEEVENT:
      // A desktop that takes the Super key for itself keeps its release from us: whatever was
      // held when the keyboard went elsewhere is forgotten.
      if ((event.active.state & SDL_APPINPUTFOCUS) != 0 && event.active.gain == 0) {
        super_held = false;
        held_chord_since = -1.0;
      }
      return false;
    case SDL_QUIT:
      // The window manager's close, or SIGINT/SIGTERM (a logout, Ctrl+C in a terminal): an
      // orderly quit, so that the settings are saved before the process goes.
      return true;
    case SDL_KEYUP: {
      const SDLKey key = event.key.keysym.sym;
      if (Is_super(key)) super_held = false;
      if (key == SDLK_q || key == SDLK_LCTRL || key == SDLK_RCTRL) held_chord_since = -1.0;
      return false;
    }
    default:
      return false;
  }
}

bool Handle_pending_events(bool& any) {
  bool quit = false;
  any = false;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    any = true;
    if (Handle_event(event)) quit = true;
  }
  if (held_chord_since >= 0) {
    const double due = held_chord_since + Classroom_chord_hold_ms;
    if (Clock_ms() >= due) {
      held_chord_since = -1.0;
      return true;
    }
    Wake_by(due);
  }
  return quit;
}

void Input_frame_done() {
  Pressed_keys.clear();
  if (Mouse_state.late_release) Mouse_state.pressed = 0;
  Mouse_state.late_release = 0;
  Mouse_state.fresh_press = 0;
}
