// The packer: made again in memory, every pack is the build's file byte for byte; the build's
// packs hold every entry that the game looks up; the pieces of every cut tile the board; bad
// art stops the real packer.
#include <gtest/gtest.h>

#include "content.h"
#include "resources/names.h"
#include "resources/pack.h"
#include "support/files.h"

namespace {

const std::string Built = SHOREBOUND_BINARY_DIR "/Resources/";

TEST(Packer, MakesEveryPackAgainByteForByte) {
  size_t packs = 0;
  for (const Pack_contents& pack : Make_all_packs(SHOREBOUND_SOURCE_DIR "/assets")) {
    EXPECT_TRUE(pack.Bytes() == Read_file(Built + pack.name)) << pack.name;
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
  for (int puzzle = 0; puzzle < Puzzle_count; ++puzzle) {
    const std::string pack[3] = {Puzzle_pack(puzzle), Board_pack(puzzle), Shadow_pack(puzzle)};
    for (const char* entry : {Final_picture, Final_model, Preview_picture, Preview_model})
      need(pack[0], entry);
    for (const Piece_set& set : Piece_sets) {
      for (const char* entry : {set.board_model, set.board_picture, set.slot_picture})
        need(pack[1], entry);
      need(pack[0], set.puzzle_picture);
      need(pack[2], set.shadow_picture);
      for (int shape = set.first_shape; shape < set.first_shape + set.pieces; ++shape)
        for (const std::string& name : pack) need(name, Shape_name(shape));
    }
  }
}

TEST(Packer, PiecesOfEveryCutTileTheBoard) {
  for (int pattern = 0; pattern < Pattern_count; ++pattern)
    for (const Piece_set& set : Piece_sets) {
      SCOPED_TRACE(testing::Message() << "pattern " << pattern << ", " << set.pieces);
      const Board_cut& cut = Cut_of(pattern, set);
      ASSERT_EQ(cut.pieces.size(), static_cast<size_t>(set.pieces));
      double area = 0;
      for (const Piece_cut& piece : cut.pieces) area += Triangles_area(piece.triangles);
      EXPECT_NEAR(area, 4 * Board_half_width * Board_half_height, 1e-3);
      int wrong = 0;  // points of the board in no piece or in more than one
      for (double y = -Board_half_height + 0.061; y < Board_half_height; y += 0.237)
        for (double x = -Board_half_width + 0.053; x < Board_half_width; x += 0.229) {
          int owners = 0;
          for (const Piece_cut& piece : cut.pieces) owners += Inside_outline(piece.outline, {x, y});
          wrong += owners != 1;
        }
      EXPECT_EQ(wrong, 0);
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
