// The puzzle catalogue, the shared puzzle state and the preload of the pictures.
#include "puzzle/catalogue.h"

#include "resources/pack.h"
#include "resources/texture.h"

int32_t puzzle_index = 0;
unsigned char transition_lock = 1;
std::string selected_piece;
int32_t stars_done[Puzzle_count];
int32_t stars_target[Puzzle_count];
int32_t scatter_x[Shape_count];
int32_t scatter_y[Shape_count];

std::string Puzzle_pack(int index) { return "puzzle" + std::to_string(index) + ".pak"; }
std::string Board_pack(int index) { return "plase" + std::to_string(index % 3) + ".pak"; }
std::string Shadow_pack(int index) { return "shadow" + std::to_string(index % 3) + ".pak"; }

int Puzzle_of_pack(const std::string& puzzle_pack) {
  for (int i = 0; i < Puzzle_count; ++i)
    if (Puzzle_pack(i) == puzzle_pack) return i;
  return -1;
}

const std::string& Shape_name(int table_index) {
  static std::string names[Shape_count];
  if (names[0].empty())
    for (int i = 0; i < Shape_count; ++i) names[i] = "Shape" + std::to_string(i + 1);
  return names[table_index];
}

// Loads a pack and decodes the named pictures of it.
static void Preload(const std::string& pack, std::initializer_list<const char*> pictures) {
  Load_pack_from_file_data_store(pack);
  for (const char* picture : pictures) Extract_tex_from_data_store(pack, picture);
}

void Preload_puzzle_images() {
  for (int i = 0; i < Puzzle_count; ++i)
    Preload(Puzzle_pack(i), {"FINAL.JPG", "PREV.JPG", "PUZZLE.JPG", "PUZZ_V2.JPG"});
  for (int k = 0; k < 3; ++k) Preload(Board_pack(k), {"FON.JPG", "FON_V2.JPG"});
  for (int k = 0; k < 3; ++k) Preload(Shadow_pack(k), {"SHADOW.PNG", "SHAD_V2.PNG"});
  Preload("main_int.pak", {"FON_CL.PNG", "OBVODKA.PNG"});
  Preload("select.pak", {"HEIGH.PNG", "LOW.PNG", "PLEASE.PNG"});
  Preload("help_menu.pak", {"HELP_FON.PNG"});
}
