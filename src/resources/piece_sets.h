// The two piece sets every puzzle is cut into, in one table that the game and the packer
// share: how the board is cut, where its shapes sit in the shape table, how the pieces are
// scattered, how many stars finish it, and the names of its models and pictures.
#pragma once
#include <cstdint>
#include <string>

// Stars that burst from every piece that lands.
const int Stars_per_piece = 10;

struct Piece_set {
  uint32_t mode;             // the settings' piece_mode that chooses it
  int pieces;                // columns x rows
  int columns;
  int rows;
  int first_shape;           // its first index in the shape table ("Shape1" is index 0)
  double min_distance;       // least distance between two scattered piece centres
  int star_target;           // burnt-out stars that complete the board: ten per piece
  const char* board_model;   // the board surface in the board pack
  const char* board_picture;
  const char* puzzle_picture;  // the bevelled picture the pieces are cut from (puzzle pack)
  const char* slot_picture;    // the outlines of the slots (board pack)
  const char* shadow_picture;  // the pieces' shadows (shadow pack)
  float slot_band;             // width of a slot's outline band in picture pixels
};

constexpr Piece_set Piece_sets[] = {
    {1, 20, 5, 4, 0, 3.1, 200, "fon.3DS", "FON.JPG", "PUZZLE.JPG", "SLOT.PNG", "SHADOW.PNG", 9.0f},
    {2, 48, 8, 6, 20, 2.0, 480, "fon_v2.3DS", "FON_V2.JPG", "PUZZ_V2.JPG", "SLOT_V2.PNG",
     "SHAD_V2.PNG", 7.0f},
};
constexpr int Piece_set_count = sizeof(Piece_sets) / sizeof(Piece_sets[0]);
static_assert(Piece_sets[0].star_target == Piece_sets[0].pieces * Stars_per_piece &&
                  Piece_sets[1].star_target == Piece_sets[1].pieces * Stars_per_piece,
              "every star of every piece counts");
// Every shape of every set: the shape table's length.
const int Shape_count = 68;
static_assert(Piece_sets[Piece_set_count - 1].first_shape + Piece_sets[Piece_set_count - 1].pieces ==
                  Shape_count,
              "the piece sets fill the shape table");

// The set chosen by a piece mode; any mode but the first set's reads as the last set.
inline const Piece_set& Piece_set_of(uint32_t mode) {
  return mode == Piece_sets[0].mode ? Piece_sets[0] : Piece_sets[Piece_set_count - 1];
}

// "Shape1" .. "Shape68" by table index 0 .. 67: the entry of a piece, its slot and its shadow.
inline std::string Shape_name(int table_index) { return "Shape" + std::to_string(table_index + 1); }
