// The game's packs, as the build made them, read with the game's own readers: every entry the
// game asks for is there, models fit their entries and name decodable textures, sounds read
// at their fixed offsets, pieces tile the board and match their slots and shadows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "audio/wav.h"
#include "content.h"
#include "platform/platform.h"
#include "render/model.h"
#include "resources/image.h"
#include "resources/pack.h"
#include "support/support.h"

namespace {

std::vector<std::string> Shapes() {
  std::vector<std::string> names;
  for (int i = 1; i <= 68; ++i) names.push_back("Shape" + std::to_string(i));
  return names;
}

std::map<std::string, std::vector<std::string>> Required_entries() {
  std::map<std::string, std::vector<std::string>> need = {
      {"main_int.pak", {"cursor.3DS", "fon_cl.3DS", "menu_clean.3DS", "obvodka.3DS", "star.3DS",
                        "menu_open.3DS", "FON_CL.PNG", "OBVODKA.PNG"}},
      {"loader.pak", {"loader.3DS", "website.3DS", "twitter.3DS", "fbook.3DS"}},
      {"buttons_int.pak", {"close.3DS", "menu.3DS", "view.3DS", "help.3DS", "crash.3DS",
                           "but_lft.3DS", "but_rgh.3DS"}},
      {"menu_int.pak", {"block.3DS", "exit_menu.3DS", "break_puz_menu.3DS", "main_menu.3DS",
                        "break_pzls_menu.3DS"}},
      {"select.pak", {"please.3DS", "low.3DS", "heigh.3DS", "HEIGH.PNG", "LOW.PNG", "PLEASE.PNG"}},
      {"help_menu.pak", {"help_fon.3DS", "close.3DS", "HELP_FON.PNG"}},
      {"exit_menu.pak", {"ok.3DS", "cancel.3DS"}},
      {"break_menu.pak", {"break.3DS", "cancel.3DS"}},
      {"about_menu.pak", {"about.3DS", "ok.3DS"}},
      {"main_menu.pak", {"close.3DS", "visit.3DS", "about.3DS", "break.3DS", "sound.3DS",
                         "clean.3DS", "diff.3DS"}},
      {"music.pak", {"button.wav", "puzzle_move.wav", "puzzle_up.wav", "insert.wav", "final.wav",
                     "music.wav"}}};
  for (int i = 0; i < 10; ++i) {
    auto& list = need["puzzle" + std::to_string(i) + ".pak"];
    list = {"FINAL.JPG", "PREV.JPG", "PUZZLE.JPG", "PUZZ_V2.JPG", "final.3DS", "prev.3DS"};
    for (auto& s : Shapes()) list.push_back(s);
  }
  for (int k = 0; k < 3; ++k) {
    auto& board = need["plase" + std::to_string(k) + ".pak"];
    board = {"FON.JPG", "FON_V2.JPG", "fon.3DS", "fon_v2.3DS"};
    auto& shadow = need["shadow" + std::to_string(k) + ".pak"];
    shadow = {"SHADOW.PNG", "SHAD_V2.PNG"};
    for (auto& s : Shapes()) {
      board.push_back(s);
      shadow.push_back(s);
    }
  }
  return need;
}

bool Is_model(const std::string& name) {
  return name.rfind("Shape", 0) == 0 || name.find(".3DS") != std::string::npos;
}

class Game_packs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Global_data.clear();
    Resource_dir = std::string(SHOREBOUND_BINARY_DIR) + "/Resources/";
  }
};

TEST_F(Game_packs, EveryEntryTheGameAsksForIsThere) {
  testing::internal::CaptureStdout();
  for (auto& [pack, entries] : Required_entries())
    for (auto& entry : entries) EXPECT_GT(Get_data_from_data_store(pack, entry).size, 0u) << pack << " " << entry;
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(Game_packs, ModelsFitTheirEntriesAndNameTexturesTheGameCanDecode) {
  std::set<std::pair<std::string, std::string>> decoded;
  for (auto& [pack, entries] : Required_entries()) {
    Load_pack_from_file_data_store(pack);
    for (auto& [name, entry] : Global_data[pack]) {
      if (!Is_model(name)) continue;
      Model_walk walk;
      ASSERT_TRUE(Start_model_walk(entry, walk)) << pack << " " << name;
      Mesh_view mesh;
      int meshes = 0;
      while (Next_mesh(walk, mesh)) {
        ++meshes;
        EXPECT_GT(mesh.triangles, 0u);
        std::string texture = mesh.texture;
        if (decoded.insert({pack, texture}).second) {
          Raw_data& image_entry = Get_data_from_data_store(pack, texture);
          Tex_image* image = Decode_image(image_entry.pos, image_entry.size);
          ASSERT_NE(image, nullptr) << pack << " " << texture;
          EXPECT_GE(image->width, 4u);
          Free_tex_image(image);
        }
      }
      EXPECT_GE(meshes, 1) << pack << " " << name;
      EXPECT_EQ(walk.offset, entry.size) << pack << " " << name << ": bytes after the last mesh";
    }
  }
}

TEST_F(Game_packs, SoundsReadAtTheirFixedOffsetsAsQuietEnough16BitMono) {
  for (const char* name : {"button.wav", "puzzle_move.wav", "puzzle_up.wav", "insert.wav",
                           "final.wav", "music.wav"}) {
    Raw_data& entry = Get_data_from_data_store("music.pak", name);
    wav_info info;
    ASSERT_TRUE(Read_wav_header(entry.pos, entry.size, info)) << name;
    EXPECT_EQ(info.format, Wav_format_mono16) << name;
    EXPECT_EQ(info.rate, 22050) << name;
    EXPECT_EQ(info.pcm_size, entry.size - 44) << name;
    int peak = 0;
    for (uint32_t i = 0; i + 1 < info.pcm_size; i += 2)
      peak = std::max(peak, std::abs(static_cast<int16_t>(info.pcm[i] | info.pcm[i + 1] << 8)));
    EXPECT_LE(peak, 29204) << name << " peaks above -1 dBFS";
  }
  Raw_data& music = Get_data_from_data_store("music.pak", "music.wav");
  EXPECT_GE((music.size - 44) / 2 / 22050.0, 45.0);
}

// The triangles of one mesh of a model entry.
std::vector<float> Mesh_triangles(const std::string& pack, const std::string& model, float pivot[3]) {
  Model_walk walk;
  Mesh_view mesh;
  std::vector<float> out;
  if (!Start_model_walk(Get_data_from_data_store(pack, model), walk) || !Next_mesh(walk, mesh)) return out;
  for (int i = 0; i < 3; ++i) pivot[i] = mesh.pivot[i];
  for (uint32_t t = 0; t < mesh.triangles; ++t)
    for (int v = 0; v < 3; ++v) {
      float p[3];
      Mesh_vertex(mesh, t, v, p);
      out.insert(out.end(), p, p + 3);
    }
  return out;
}

TEST_F(Game_packs, PiecesTileTheBoardAndMatchTheirSlotsAndShadows) {
  for (int puzzle = 0; puzzle < 10; ++puzzle) {
    std::string pack = "puzzle" + std::to_string(puzzle) + ".pak";
    std::string board = "plase" + std::to_string(puzzle % 3) + ".pak";
    std::string shadow = "shadow" + std::to_string(puzzle % 3) + ".pak";
    for (auto [first, count] : {std::make_pair(1, 20), std::make_pair(21, 48)}) {
      double area = 0;
      for (int i = first; i < first + count; ++i) {
        std::string shape = "Shape" + std::to_string(i);
        float pivot[3], shadow_pivot[3], slot_pivot[3];
        std::vector<float> piece = Mesh_triangles(pack, shape, pivot);
        ASSERT_FALSE(piece.empty());
        area += Triangles_area(piece);
        for (size_t k = 0; k < piece.size(); k += 3) {
          ASSERT_LE(std::fabs(piece[k]), 10.0f + 1e-4f);
          ASSERT_LE(std::fabs(piece[k + 1]), 7.0f + 1e-4f);
          ASSERT_EQ(piece[k + 2], 0.0f);
        }
        // The shadow and the slot are the piece's own shape.
        EXPECT_EQ(Mesh_triangles(shadow, shape, shadow_pivot), piece) << pack << " " << shape;
        EXPECT_EQ(Mesh_triangles(board, shape, slot_pivot), piece) << board << " " << shape;
        for (int c = 0; c < 3; ++c) {
          EXPECT_EQ(pivot[c], shadow_pivot[c]);
          EXPECT_EQ(pivot[c], slot_pivot[c]);
        }
        // The pivot is the centre of the piece's cell.
        int columns = count == 20 ? 5 : 8, index = i - first;
        double cell_w = 20.0 / columns, cell_h = 14.0 / (count / columns);
        EXPECT_NEAR(pivot[0], -10 + (index % columns + 0.5) * cell_w, 1e-4);
        EXPECT_NEAR(pivot[1], 7 - (index / columns + 0.5) * cell_h, 1e-4);
      }
      EXPECT_NEAR(area, 280.0, 0.05) << pack << " set from Shape" << first;
    }
  }
}

TEST_F(Game_packs, SlotPicturesAreOpaqueOnlyAlongTheEdges) {
  for (int k = 0; k < 3; ++k) {
    std::string board = "plase" + std::to_string(k) + ".pak";
    for (auto [name, columns, rows] : {std::make_tuple("SLOT.PNG", 5, 4), std::make_tuple("SLOT_V2.PNG", 8, 6)}) {
      Raw_data& entry = Get_data_from_data_store(board, name);
      Tex_image* image = Decode_image(entry.pos, entry.size);
      ASSERT_NE(image, nullptr);
      ASSERT_EQ(image->format, 0x1908u);  // RGBA: the alpha test draws only the outline
      auto alpha = [&](uint32_t x, uint32_t y) { return image->pixels[(y * image->width + x) * 4 + 3]; };
      for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
          uint32_t x = (2 * c + 1) * image->width / (2 * columns), y = (2 * r + 1) * image->height / (2 * rows);
          EXPECT_EQ(alpha(x, y), 0) << board << " " << name << " cell " << c << "," << r;
        }
      for (uint32_t y = 0; y < image->height; y += 37) {
        EXPECT_EQ(alpha(0, y), 255) << board << " " << name << " left edge";
        EXPECT_EQ(alpha(image->width - 1, y), 255) << board << " " << name << " right edge";
      }
      Free_tex_image(image);
    }
  }
}

TEST_F(Game_packs, PackerWritesTheSameBytesAgain) {
  std::string folder = Make_temp_folder();
  std::string command = std::string(SHOREBOUND_BINARY_DIR) + "/tools/packer/packer " +
                        SHOREBOUND_SOURCE_DIR + "/assets " + folder;
  ASSERT_EQ(std::system(command.c_str()), 0);
  int packs = 0;
  for (auto& [pack, entries] : Required_entries()) {
    std::string fresh = Read_file(folder + "/" + pack);
    ASSERT_FALSE(fresh.empty()) << pack;
    EXPECT_TRUE(fresh == Read_file(Resource_dir + pack)) << pack << " differs between two runs";
    ++packs;
  }
  EXPECT_EQ(packs, 27);
}

}  // namespace
