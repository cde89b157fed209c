// The puzzle session's shared state.
#include "state/session.h"

#include <cstring>

#include "state/progress.h"
#include "state/settings.h"

int32_t puzzle_index = 0;
unsigned char transition_lock = 1;
std::string selected_piece;
int32_t stars_done[Picture_limit];
int32_t stars_target[Picture_limit];
int32_t scatter_x[Shape_count];
int32_t scatter_y[Shape_count];

const Piece_set& Current_piece_set() { return Piece_set_of(Settings.piece_mode); }

void Reset_game_state() {
  Reset_settings();
  Reset_progress();
  puzzle_index = 0;
  transition_lock = 1;
  selected_piece.clear();
  std::memset(stars_done, 0, sizeof stars_done);
  std::memset(stars_target, 0, sizeof stars_target);
  std::memset(scatter_x, 0, sizeof scatter_x);
  std::memset(scatter_y, 0, sizeof scatter_y);
}
