// The puzzle catalogue and the preload of the pictures.
#include "puzzle/catalogue.h"

#include <vector>

#include "resources/names.h"
#include "resources/pack.h"
#include "resources/piece_sets.h"
#include "resources/texture.h"

int Puzzle_of_pack(const std::string& puzzle_pack) {
  for (int i = 0; i < Puzzle_count; ++i)
    if (Puzzle_pack(i) == puzzle_pack) return i;
  return -1;
}

// Loads a pack and decodes the named pictures of it.
static void Preload(const std::string& pack, const std::vector<const char*>& pictures) {
  Load_pack_from_file_data_store(pack);
  for (const char* picture : pictures) Extract_tex_from_data_store(pack, picture);
}

// The pictures of one kind in every piece set, after the given ones.
static std::vector<const char*> Set_pictures(const char* Piece_set::*picture,
                                             std::vector<const char*> pictures = {}) {
  for (const Piece_set& set : Piece_sets) pictures.push_back(set.*picture);
  return pictures;
}

void Preload_puzzle_images() {
  // The loader calls this every frame once it stands: the lists are made once.
  static const std::vector<const char*> puzzle =
      Set_pictures(&Piece_set::puzzle_picture, {Final_picture, Preview_picture});
  static const std::vector<const char*> board = Set_pictures(&Piece_set::board_picture);
  static const std::vector<const char*> shadow = Set_pictures(&Piece_set::shadow_picture);
  for (int i = 0; i < Puzzle_count; ++i) Preload(Puzzle_pack(i), puzzle);
  for (int k = 0; k < Pattern_count; ++k) Preload(Board_pack(k), board);
  for (int k = 0; k < Pattern_count; ++k) Preload(Shadow_pack(k), shadow);
  Preload(Main_pack, {Background_picture, Frame_picture});
  static const std::vector<const char*> select = Set_pictures(&Piece_set::card_picture, {Select_title_picture});
  Preload(Select_pack, select);
  Preload(Help_pack, {Help_picture});
  // The main menu, where a child picks another count, opens without decoding anything.
  Preload(Menu_pack, {Main_menu_picture});
  Load_pack_from_file_data_store(Main_menu_pack);
  for (const auto& [name, entry] : Global_data[Main_menu_pack])
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".PNG") == 0) Extract_tex_from_data_store(Main_menu_pack, name);
}
