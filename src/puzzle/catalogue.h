// The ten puzzles, their packs, the puzzle state every puzzle module shares, and the preload
// of every puzzle picture while the loader shows.
#pragma once
#include <cstdint>
#include <string>

const int Puzzle_count = 10;
const int Shape_count = 68;

// Pack names by puzzle index: the board and shadow packs follow the index modulo 3.
std::string Puzzle_pack(int index);
std::string Board_pack(int index);
std::string Shadow_pack(int index);
// "Shape1" .. "Shape68" by table index 0 .. 67.
const std::string& Shape_name(int table_index);

extern int32_t puzzle_index;            // 0 at start-up
extern unsigned char transition_lock;   // set while a puzzle slides in or out
extern std::string selected_piece;      // the selected piece's name, or empty
extern int32_t stars_done;              // stars burnt out since the puzzle was shown
extern int32_t scatter_x[Shape_count];  // starting positions of the piece centres
extern int32_t scatter_y[Shape_count];

// Loads every puzzle, board, shadow and menu pack and decodes their pictures once.
void Preload_puzzle_images();
