// The ten puzzles by pack, and the preload of every puzzle picture while the loader shows.
#pragma once
#include <string>

// The puzzle index of a puzzle pack's name, or -1 for any other name.
int Puzzle_of_pack(const std::string& puzzle_pack);

// Loads every puzzle, board, shadow and menu pack and decodes their pictures once.
void Preload_puzzle_images();
