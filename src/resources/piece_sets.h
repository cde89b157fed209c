// The piece sets every puzzle is cut into, in one table that the game and the packer share:
// how the board is cut and how big it is drawn, where its shapes sit in the shape table, how
// the pieces are scattered, how many stars finish it, the names of its models and pictures,
// and its card in the piece-count window and switch in the main menu. A set is one row here
// (and its art): the packer cuts it, the game offers, scatters, builds and completes it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Stars that burst from every piece that lands.
const int Stars_per_piece = 10;

// A band of whole positions around the board: x + rand() % x_count, y + rand() % y_count.
struct Scatter_band {
  int32_t x, x_count, y, y_count;
};
// A place for one loose piece, clear of the board, of the screen's edges and buttons (on the
// narrowest screen, 4:3) and of every other place of its set.
struct Spot {
  int32_t x, y;
};

struct Piece_set {
  uint32_t mode;             // the settings' piece_mode that chooses it
  int pieces;                // columns x rows
  int columns;
  int rows;
  int first_shape;           // its first index in the shape table ("Shape1" is index 0)
  double board_scale;        // the board's size against 20 x 14 units (its 10:7 shape kept)
  // The scatter: a random band and place for each piece, at least `min_distance` from those
  // before it; or, with `spots`, a random spot of the set's own for each piece.
  const Scatter_band* bands;
  int band_count;
  double min_distance;
  const Spot* spots;
  int spot_count;
  int star_target;             // burnt-out stars that complete the board: ten per piece
  const char* board_model;     // the board surface in the board pack
  const char* board_picture;
  const char* puzzle_picture;  // the bevelled picture the pieces are cut from (puzzle pack)
  const char* slot_picture;    // the outlines of the slots (board pack)
  const char* shadow_picture;  // the pieces' shadows (shadow pack)
  const char* bevel_picture;   // its bevel as a gain on a picture of its size (board pack)
  float slot_band;             // width of a slot's outline band in picture pixels
  const char* card_fun;        // its card in the piece-count window (select pack)
  const char* card_model;
  const char* card_picture;
  const char* switch_fun;      // its switch in the main menu, beside its label (main menu pack)
  const char* switch_label;
  const char* switch_picture;
};

// Around the 20 x 14 board: left, right, below, above.
constexpr Scatter_band Around_the_board[] = {{-17, 7, -10, 13}, {11, 7, -10, 21}, {-9, 19, -12, 5}, {-2, 12, 8, 5}};
// Around the board drawn at 0.7 (14 x 9.8 units), for pieces of 2 x 2 and of 4 x 3 cells.
constexpr Spot Four_spots[] = {{-14, 7}, {-14, -2}, {-12, -11}, {14, 7}, {14, -2}, {12, -11}, {0, 10}, {0, -10}};
constexpr Spot Twelve_spots[] = {{-11, -10}, {-11, -4}, {-11, 2}, {-11, 8}, {11, -10}, {11, -4}, {11, 2}, {11, 8}, {-17, -4},
                                 {-17, 2},   {-17, 8},  {17, -4},  {17, 2},  {17, 8},   {-3, 9},   {3, 9},  {-3, -10}, {3, -10}};

constexpr Piece_set Piece_sets[] = {
    {1, 20, 5, 4, 0, 1.0, Around_the_board, 4, 3.1, nullptr, 0, 200, "fon.3DS", "FON.JPG", "PUZZLE.JPG", "SLOT.PNG",
     "SHADOW.PNG", "BEVEL.PNG", 9.0f, "m_low_draw", "low.3DS", "LOW.PNG", "b20pc_draw", "pc20.3DS", "PC20.PNG"},
    {2, 48, 8, 6, 20, 1.0, Around_the_board, 4, 2.0, nullptr, 0, 480, "fon_v2.3DS", "FON_V2.JPG", "PUZZ_V2.JPG",
     "SLOT_V2.PNG", "SHAD_V2.PNG", "BEVEL_V2.PNG", 7.0f, "m_heigh_draw", "heigh.3DS", "HEIGH.PNG", "b48pc_draw", "pc48.3DS", "PC48.PNG"},
    {3, 4, 2, 2, 68, 0.7, nullptr, 0, 0, Four_spots, 8, 40, "fon_v3.3DS", "FON.JPG", "PUZZ_V3.JPG", "SLOT_V3.PNG",
     "SHAD_V3.PNG", "BEVEL_V3.PNG", 12.0f, "m_four_draw", "four.3DS", "FOUR.PNG", "b4pc_draw", "pc4.3DS", "PC4.PNG"},
    {4, 12, 4, 3, 72, 0.7, nullptr, 0, 0, Twelve_spots, 18, 120, "fon_v4.3DS", "FON.JPG", "PUZZ_V4.JPG", "SLOT_V4.PNG",
     "SHAD_V4.PNG", "BEVEL_V4.PNG", 10.0f, "m_twelve_draw", "twelve.3DS", "TWELVE.PNG", "b12pc_draw", "pc12.3DS", "PC12.PNG"},
};
constexpr int Piece_set_count = sizeof(Piece_sets) / sizeof(Piece_sets[0]);
// Every shape of every set: the shape table's length.
const int Shape_count = 84;

// The table's own rules, checked when the game is built.
constexpr bool Piece_sets_hold_together() {
  int next_shape = 0;
  for (const Piece_set& set : Piece_sets) {
    if (set.pieces != set.columns * set.rows || set.star_target != set.pieces * Stars_per_piece) return false;
    if (set.first_shape != next_shape || (set.spots != nullptr && set.spot_count < set.pieces)) return false;
    if ((set.spots == nullptr) == (set.bands == nullptr)) return false;  // one way to scatter
    next_shape += set.pieces;
  }
  return next_shape == Shape_count;
}
static_assert(Piece_sets_hold_together(),
              "every star counts, the sets fill the shape table in order, each scatters one way");

// The mode that any unknown piece_mode reads as: the 48-piece set.
const uint32_t Fallback_piece_mode = 2;

// The set chosen by a piece mode; an unknown mode reads as the fallback's.
inline const Piece_set& Piece_set_of(uint32_t mode) {
  for (const Piece_set& set : Piece_sets)
    if (set.mode == mode) return set;
  return Piece_set_of(Fallback_piece_mode);
}

// The sets as a child is offered them: the fewest pieces first.
inline std::vector<const Piece_set*> Piece_sets_by_size() {
  std::vector<const Piece_set*> sets;
  for (const Piece_set& set : Piece_sets) {
    auto at = sets.begin();
    while (at != sets.end() && (*at)->pieces < set.pieces) ++at;
    sets.insert(at, &set);
  }
  return sets;
}

// "Shape1" .. "Shape84" by table index 0 .. 83: the entry of a piece, its slot and its shadow.
inline std::string Shape_name(int table_index) { return "Shape" + std::to_string(table_index + 1); }
