// Play without a mouse: the keyboard's focus (Tab, Shift+Tab, the arrows, Enter, Space,
// Escape), the ring that shows it, and one-switch scanning, which steps the focus by itself.
#pragma once
#include <string>

// A drawing the focus can stand on: a loose piece or a button.
struct Focus_target {
  std::string store, object, fun;
  bool operator==(const Focus_target& other) const {
    return store == other.store && object == other.object && fun == other.fun;
  }
};

struct Focus_record {
  Focus_target game;    // on the game screen
  Focus_target window;  // in the window that is open
  std::string window_name;  // the open window's object, empty with none
  std::string board;        // the board the game focus was last on (its pack and set)
  bool shown = false;       // the ring shows: after a focus key, and always while scanning
  std::string lifted;       // a piece lifted by the keys or the scan: it moves over the slots
  std::string lifting;      // a piece asked to lift this frame
  std::string slot;         // the shape whose slot the lifted piece is over
  double from_x = 0, from_y = 0;  // where the lifted piece lay
  int round = 0;            // slots the scan has shown since the lift or the last pick
  double next_step = 0;     // when the scan steps next (Clock_ms)
};
extern Focus_record Focus;

// The order of the game screen's buttons after the loose pieces (the exit stays off it).
extern const char* const Focus_buttons[6][2];

// After every frame's drawing: takes the keys of the frame, steps the scan when it is due (the
// resting loop is woken for it), and draws the ring round what the focus stands on.
void Focus_frame();
// What the focus stands on now: the lifted piece, the window's button, or the game screen's.
Focus_target Focused();
