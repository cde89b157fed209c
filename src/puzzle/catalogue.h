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
// The puzzle index of a puzzle pack's name, or -1 for any other name.
int Puzzle_of_pack(const std::string& puzzle_pack);
// "Shape1" .. "Shape68" by table index 0 .. 67.
const std::string& Shape_name(int table_index);

extern int32_t puzzle_index;            // 0 at start-up
extern unsigned char transition_lock;   // set while a puzzle slides in or out
extern std::string selected_piece;      // the selected piece's name, or empty
// Per puzzle: the stars burnt out on its board since the board was shown, and the count
// that completes it (0 once the board was broken up: its stars then complete nothing).
extern int32_t stars_done[Puzzle_count];
extern int32_t stars_target[Puzzle_count];
extern int32_t scatter_x[Shape_count];  // starting positions of the piece centres
extern int32_t scatter_y[Shape_count];

// Loads every puzzle, board, shadow and menu pack and decodes their pictures once.
void Preload_puzzle_images();
