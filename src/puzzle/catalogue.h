// The pictures a child plays: the ten built-in puzzles and, after them in the order added, the
// parent's own pictures; which pack, key and done mark each has; and the preload of the
// built-in pictures while the loader shows.
#pragma once
#include <string>
#include <vector>

#include "library/library.h"

// The parent's pictures after the ten, as the library lists them (read when the game screen is
// built).
void Set_own_pictures(const std::vector<Own_picture>& pictures);
// Takes a picture out of the catalogue for this run (its stored file is damaged).
void Drop_own_picture(int index);

// The ten and the own pictures.
int Picture_count();
// Its pack: "puzzleN.pak" for the ten, "puzzle-own-KEY.pak" (made in memory) for the others;
// also the name of the store of its board and pieces.
std::string Picture_pack(int index);
// The key of its done mark and half-built boards: the pack's name for the ten, the own key.
std::string Picture_key(int index);
// The index of a pack or of a key; -1 for any other name.
int Puzzle_of_pack(const std::string& puzzle_pack);
int Picture_of_key(const std::string& key);
// The file of an own picture (empty for the ten).
std::string Own_picture_file_of(int index);

// Whether a picture is finished (the ten in the settings, the others in the half-built
// pictures' record); setting it does not save.
bool Picture_done(int index);
void Set_picture_done(int index, bool done);
// Every picture not finished again.
void Forget_all_done();

// Loads every built-in puzzle, board, shadow and menu pack and decodes the pictures that a
// switch of picture or count shows at once.
void Preload_puzzle_images();
