// The state of the puzzle session that the puzzle modules and the scenes share: the puzzle
// shown, the selected piece, the stars of each puzzle and the scatter of the pieces.
#pragma once
#include <cstdint>
#include <string>

#include "resources/names.h"
#include "resources/piece_sets.h"

extern int32_t puzzle_index;            // 0 at start-up
extern unsigned char transition_lock;   // set while a puzzle slides in or out
extern std::string selected_piece;      // the selected piece's name, or empty
// Per puzzle: the stars burnt out on its board since the board was shown, and the count
// that completes it (0 once the board was broken up: its stars then complete nothing).
extern int32_t stars_done[Picture_limit];
extern int32_t stars_target[Picture_limit];
extern int32_t scatter_x[Shape_count];  // starting positions of the piece centres
extern int32_t scatter_y[Shape_count];

// The piece set that the settings choose.
const Piece_set& Current_piece_set();
// The state of a new run: settings not loaded (all zero), puzzle 0 in transition, nothing
// selected, no stars.
void Reset_game_state();
