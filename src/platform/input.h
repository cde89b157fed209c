// The shared mouse record and the handling of one input event.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

struct Mouse_record {
  int32_t x = 0;  // window pixels of the last left press or motion, origin top left
  int32_t y = 0;
  unsigned char pressed = 0;  // left press not yet consumed by the pick pass
  unsigned char moved = 0;    // motion not yet consumed by the pick pass
  unsigned char held = 0;     // the left button is down now
  // A release of a press that a frame had already seen (the end of a drag or of a slow click),
  // at x, y, not yet consumed by the pick pass: it clicks only a drop target.
  unsigned char dropped = 0;
  // A press that no frame has seen yet, and a release that came before any frame saw it:
  // such a release is applied after the next frame, so a quick click is never lost.
  unsigned char fresh_press = 0;
  unsigned char late_release = 0;
};

extern Mouse_record Mouse_state;

// A key pressed (not the quit chords), for the keyboard's focus; taken by the frame that sees it.
struct Key_press {
  SDLKey key;
  unsigned mod;
};
extern std::vector<Key_press> Pressed_keys;
// One-switch scanning: a left press anywhere is a pick (Space), not a click on what lies there.
extern bool Press_is_pick;

// Applies one event to Mouse_state; true when it asks to quit: the quit chord (Meta+Q, Ctrl+Q,
// Super+Q) or SDL's quit request (the window closed, SIGINT, SIGTERM). In classroom mode
// (platform/config.h) those chords do nothing: Ctrl+Q must be held down for
// Classroom_chord_hold_ms, which a child's bang on the keyboard never is.
bool Handle_event(const SDL_Event& event);
const double Classroom_chord_hold_ms = 2000.0;
// Hands every waiting SDL event to Handle_event, one at a time (what is still queued stays
// visible to it); true when one asked to quit, or when classroom mode's Ctrl+Q has been held
// long enough (until then it asks to be woken when it will have been). `any` tells whether
// there was an event.
bool Handle_pending_events(bool& any);
// Called at the end of every frame: the frame has seen the press and the keys.
void Input_frame_done();
