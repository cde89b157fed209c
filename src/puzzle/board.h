// The board of a puzzle that is not yet done: board object, piece and slot objects, and the
// random scatter of the pieces around the board; or the board as the child left it.
#pragma once
#include <cstdint>
#include <string>

// One random candidate position around the board (three rand() calls: band, x, y).
void Pick_scatter_position(int32_t& x, int32_t& y);
// Whether the candidate keeps the current set's distance from the pieces scattered so far
// (table indexes from the set's first up to count - 1).
bool Scatter_position_free(int32_t x, int32_t y, int count);
// Scatters every piece of the current set into scatter_x / scatter_y.
void Scatter_pieces();
// The frame around a board drawn at this scale of 20 x 14 units ("fon_draw", before-list).
struct Object;
void Add_board_frame(Object* object, double scale);
// A piece of the puzzle pack's board is home (or flying there): kept so, and saved.
void Keep_home(const std::string& puzzle_pack, const std::string& shape);
// Builds the board object with its pieces and slots below the puzzle's view object.
void Build_board(const std::string& puzzle_pack, const std::string& board_pack,
                 const std::string& shadow_pack);
