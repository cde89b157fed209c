// The catalogue of pictures, the ten and the own ones, and the preload of the ten.
#include "puzzle/catalogue.h"

#include <cstring>
#include <vector>

#include "resources/names.h"
#include "resources/pack.h"
#include "resources/piece_sets.h"
#include "resources/texture.h"
#include "state/progress.h"
#include "state/settings.h"

namespace {

std::vector<Own_picture> own;  // after the ten, in the order added

// The prefix of an own picture's pack: it sorts after the board packs ("plase") like the ten's,
// so that slots are processed before pieces.
const std::string Own_prefix = "puzzle-own-";

}  // namespace

void Set_own_pictures(const std::vector<Own_picture>& pictures) { own = pictures; }

void Drop_own_picture(int index) {
  if (index >= Puzzle_count && index < Picture_count()) own.erase(own.begin() + (index - Puzzle_count));
}

int Picture_count() { return Puzzle_count + static_cast<int>(own.size()); }

std::string Picture_pack(int index) {
  return index < Puzzle_count ? Puzzle_pack(index) : Own_prefix + own.at(index - Puzzle_count).key + ".pak";
}

std::string Picture_key(int index) { return index < Puzzle_count ? Puzzle_pack(index) : own.at(index - Puzzle_count).key; }

int Puzzle_of_pack(const std::string& puzzle_pack) {
  for (int i = 0; i < Picture_count(); ++i)
    if (Picture_pack(i) == puzzle_pack) return i;
  return -1;
}

int Picture_of_key(const std::string& key) {
  for (int i = 0; i < Picture_count(); ++i)
    if (Picture_key(i) == key) return i;
  return -1;
}

std::string Own_picture_file_of(int index) {
  return index < Puzzle_count ? "" : Own_picture_file(own.at(index - Puzzle_count).key);
}

bool Picture_done(int index) {
  return index < Puzzle_count ? Settings.puzzle_done[index] != 0 : Progress.done.count(Picture_key(index)) != 0;
}

void Set_picture_done(int index, bool done) {
  if (index < Puzzle_count)
    Settings.puzzle_done[index] = done ? 1 : 0;
  else if (done)
    Progress.done.insert(Picture_key(index));
  else
    Progress.done.erase(Picture_key(index));
}

void Forget_all_done() {
  std::memset(Settings.puzzle_done, 0, sizeof Settings.puzzle_done);
  Progress.done.clear();
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
  // A finished picture or a preview, seen one at a time, is decoded when it first shows.
  static const std::vector<const char*> puzzle = Set_pictures(&Piece_set::puzzle_picture);
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
