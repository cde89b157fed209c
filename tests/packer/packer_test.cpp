// The packer: made again in memory, every pack is the build's file byte for byte, no name twice;
// the build's packs hold every entry that the game looks up; the pieces of every cut tile their
// board; the slots' outlines stand out on every board; bad art stops the real packer.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "content.h"
#include "resources/image.h"
#include "resources/names.h"
#include "resources/pack.h"
#include "shading.h"
#include "support/files.h"

namespace {

const std::string Built = SHOREBOUND_BINARY_DIR "/Resources/";

TEST(Packer, MakesEveryPackAgainByteForByte) {
  size_t packs = 0;
  for (const Pack_contents& pack : Make_all_packs(SHOREBOUND_SOURCE_DIR "/assets")) {
    EXPECT_TRUE(pack.Bytes() == Read_file(Built + pack.name)) << pack.name;
    std::set<std::string> names;
    for (const auto& entry : pack.entries) EXPECT_TRUE(names.insert(entry.first).second) << entry.first;
    ++packs;
  }
  EXPECT_EQ(packs, 11u + Puzzle_count + 2 * Pattern_count);  // the screens', then the puzzles'
}

TEST(Packer, EveryEntryTheGameAsksForIsThere) {
  Global_data.clear();
  Resource_dir = Built;
  auto need = [](const std::string& pack, const std::string& entry) {
    EXPECT_GT(Get_data_from_data_store(pack, entry).size, 0u) << pack << " " << entry;
  };
  for (const char* entry : {Background_picture, Frame_picture, Frame_model, Star_model,
                            Cursor_model, Icon_picture})
    need(Main_pack, entry);
  for (const char* sound : {Button_sound, Pick_up_sound, Send_home_sound, Land_sound,
                            Fanfare_sound, Music_sound})
    need(Sound_pack, sound);
  need(Main_menu_pack, Outline_switch_label);
  for (int puzzle = 0; puzzle < Puzzle_count; ++puzzle) {
    const std::string pack[3] = {Puzzle_pack(puzzle), Board_pack(puzzle), Shadow_pack(puzzle)};
    for (const char* entry : {Final_picture, Final_model, Preview_picture, Preview_model})
      need(pack[0], entry);
    for (const Piece_set& set : Piece_sets) {
      for (const char* entry : {set.board_model, set.board_picture, set.slot_picture})
        need(pack[1], entry);
      need(pack[0], set.puzzle_picture);
      need(pack[2], set.shadow_picture);
      need(Select_pack, set.card_model), need(Select_pack, set.card_picture);  // and its switch's
      need(Main_menu_pack, set.switch_label), need(Main_menu_pack, set.switch_picture);  // label
      for (int shape = set.first_shape; shape < set.first_shape + set.pieces; ++shape)
        for (const std::string& name : pack) need(name, Shape_name(shape));
    }
  }
}

// The board of a set is 20 x 14 units at the set's scale.
TEST(Packer, PiecesOfEveryCutTileTheBoard) {
  for (int pattern = 0; pattern < Pattern_count; ++pattern)
    for (const Piece_set& set : Piece_sets) {
      SCOPED_TRACE(testing::Message() << "pattern " << pattern << ", " << set.pieces);
      const Board_cut& cut = Cut_of(pattern, set);
      const double half_w = 10 * set.board_scale, half_h = 7 * set.board_scale;
      ASSERT_EQ(cut.pieces.size(), static_cast<size_t>(set.pieces));
      double area = 0;
      for (const Piece_cut& piece : cut.pieces) area += Triangles_area(piece.triangles);
      EXPECT_NEAR(area, 4 * half_w * half_h, 1e-3);
      int wrong = 0;  // points of the board in no piece or in more than one
      for (double y = -half_h + 0.061; y < half_h; y += 0.237)
        for (double x = -half_w + 0.053; x < half_w; x += 0.229) {
          int owners = 0;
          for (const Piece_cut& piece : cut.pieces) owners += Inside_outline(piece.outline, {x, y});
          wrong += owners != 1;
        }
      EXPECT_EQ(wrong, 0);
    }
}

// A slot's lit outline lines its whole edge and there stands out 3:1 or more (WCAG's contrast)
// against each board surface, at every piece count.
TEST(Packer, EverySlotOutlineStandsOutOnEveryBoard) {
  auto luminance = [](const unsigned char* p) {  // WCAG's relative luminance, plus its 0.05 of flare
    auto linear = [](int c) { return c <= 10 ? c / 3294.6 : std::pow((c / 255.0 + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(p[0]) + 0.7152 * linear(p[1]) + 0.0722 * linear(p[2]) + 0.05;
  };
  Global_data.clear();
  Resource_dir = Built;
  for (const char* surface : {"board_a.svg", "board_b.svg", "board_c.svg"})
    for (int pattern = 0; pattern < Pattern_count; ++pattern)
      for (const Piece_set& set : Piece_sets) {
        Raw_data& png = Get_data_from_data_store(Board_pack(pattern), set.slot_picture);
        Tex_image* slot = Decode_image(png.pos, png.size);
        ASSERT_NE(slot, nullptr);
        const int w = static_cast<int>(slot->width), h = static_cast<int>(slot->height);
        const Image board = Render_svg(std::string(SHOREBOUND_SOURCE_DIR "/assets/ui/") + surface, w, h);
        const std::vector<float> edge = Edge_distance(Piece_map(Cut_of(pattern, set), w, h), w, h);
        int faint = 0;  // pixels along a slot's edge that the alpha test drops or that stand out less
        for (int i = 0; i < w * h; ++i) {
          const double l[2] = {luminance(&slot->pixels[4 * i]), luminance(&board.rgba[4 * i])};
          faint += edge[i] < 1 && (slot->pixels[4 * i + 3] <= 229 || std::max(l[0], l[1]) < 3 * std::min(l[0], l[1]));
        }
        Free_tex_image(slot);
        EXPECT_EQ(faint, 0) << surface << ", pattern " << pattern << ", " << set.pieces;
      }
}

// A damaged SVG early in the packs, a missing one late: it fails, names the file, writes no pack.
TEST(Packer, StopsOnArtItCannotRead) {
  namespace fs = std::filesystem;
  for (const std::string art : {"ui/background.svg", "puzzles/puzzle9.svg"}) {
    const std::string scratch = Make_temp_folder(), assets = scratch + "/assets/";
    const std::string out = scratch + "/out", err = scratch + "/err";
    fs::copy(SHOREBOUND_SOURCE_DIR "/assets", assets, fs::copy_options::recursive);
    if (art == "ui/background.svg") Write_file(assets + art, Read_file(assets + art).substr(0, 300));
    else fs::remove(assets + art);
    fs::create_directory(out);
    EXPECT_NE(std::system((SHOREBOUND_PACKER " " + assets + " " + out + " 2>" + err).c_str()), 0);
    EXPECT_NE(Read_file(err).find(art), std::string::npos) << Read_file(err);
    EXPECT_TRUE(fs::is_empty(out)) << art;
  }
}

}  // namespace
