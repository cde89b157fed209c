// The board of a puzzle that is not yet done: board object, piece and slot objects, and the
// random scatter of the pieces around the board.
#pragma once
#include <cstdint>
#include <string>

// First table index and count of the current piece set (20 pieces from 0, or 48 from 20).
int First_shape();
int Shape_total();

// One random candidate position around the board (four rand() calls: band, x, y).
void Pick_scatter_position(int32_t& x, int32_t& y);
// Whether the last picked candidate keeps its distance from the pieces of the current set
// scattered so far (table indexes from the set's first up to count - 1).
bool Scatter_position_free(int count);
// Scatters every piece of the current set into scatter_x / scatter_y.
void Scatter_pieces();
// Builds the board object with its pieces and slots below the puzzle's view object.
void Build_board(const std::string& puzzle_pack, const std::string& board_pack,
                 const std::string& shadow_pack);
