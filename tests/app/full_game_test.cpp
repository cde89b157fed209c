// The whole first game through the real event loop and real SDL events: boot and loader, the
// piece-count window, the help, every piece of a 20-piece puzzle sent home with two clicks,
// the finished picture, Ctrl+Q and the orderly shutdown. It also runs under valgrind's
// memcheck (tests/CMakeLists.txt), so it stays the one test named FullGame.
#include <algorithm>

#include "audio/sound.h"
#include "resources/piece_sets.h"
#include "support/game.h"

namespace {

// The pictures of the puzzles, their boards and shadows that the loader decodes, still waiting
// for their image.
std::vector<std::string> Undecoded_pictures() {
  std::vector<std::pair<std::string, std::string>> pictures;
  for (const Piece_set& set : Piece_sets) {
    for (int i = 0; i < Puzzle_count; ++i) {
      for (const char* picture : {Final_picture, Preview_picture, set.puzzle_picture})
        pictures.push_back({Puzzle_pack(i), picture});
      pictures.push_back({Board_pack(i), set.board_picture});
      pictures.push_back({Shadow_pack(i), set.shadow_picture});
    }
  }
  std::vector<std::string> missing;
  for (const auto& [pack, picture] : pictures) {
    auto found = Global_data[pack].find(picture + std::string("_tex"));
    if (found == Global_data[pack].end() || found->second.image == nullptr)
      missing.push_back(pack + "/" + picture);
  }
  return missing;
}

using FullGame = Game_test;

TEST_F(FullGame, FirstGameFromBootToTheFinishedPictureAndCtrlQ) {
  Build_boot_scene(Shut_down);
  while (!Is_object_in_global_store("A_Int_store", "fon") && test_now < 10000) Frame();
  EXPECT_GE(test_now, 6000);
  EXPECT_LE(test_now, 6200);
  EXPECT_EQ(Undecoded_pictures(), std::vector<std::string>());

  Run_for(1300);  // the piece-count window fades in
  Tap_drawing({"z_Int_store", "m_select", "m_low_draw"});
  Run_for(2500);  // the help window opens a second later and fades in
  ASSERT_TRUE(Is_object_in_global_store("z_Int_store", "m_help"));
  Tap_drawing({"z_Int_store", "m_help", "bclose_draw"});
  Run_for(1500);
  ASSERT_FALSE(Is_object_in_global_store("z_Int_store", "m_help"));

  const int shown = puzzle_index;
  const std::string pack = Puzzle_pack(shown);
  ASSERT_EQ(Loose().size(), 20u);
  std::vector<std::array<double, 2>> homes;  // where each piece belongs
  for (const std::string& shape : Loose())
    homes.push_back({Piece(shape, "puzzle")["CENTER_X"].value.number, Piece(shape, "puzzle")["CENTER_Y"].value.number});
  // Before: the board's bare surface where the picture will be.
  std::vector<unsigned char> frame = Look();
  int unlike = 0;
  for (const auto& [x, y] : homes)
    unlike += Difference(Colour(frame, x, y, Depth_board), Picture_colour(pack, "PUZZLE.JPG", x, y, Depth_board)) > 24;
  EXPECT_GE(unlike, 18);
  int sent = 0;
  for (int clicks = 0; !Loose().empty() && clicks < 40; clicks += 2) sent += !Place(Loose()[0]).empty();
  EXPECT_EQ(sent, 20);
  EXPECT_TRUE(Loose().empty());
  double last_landing = 0;
  while (Settings.puzzle_done[shown] == 0 && test_now < 100000) {
    Frame();
    for (int i = 0; i < 20; ++i)
      if (Piece(Shape_name(i), "puzz_draw")["POS_Z"].value.number != Depth_landed) last_landing = test_now;
    if (test_now == last_landing + 1950) {
      // Every piece home, the last stars all but burnt out: each piece shows its part of the picture.
      frame = Look();
      for (const auto& [x, y] : homes)
        EXPECT_LE(Difference(Colour(frame, x, y, Depth_landed), Picture_colour(pack, "PUZZLE.JPG", x, y, Depth_landed)), 24)
            << x << "," << y;
    }
  }
  Run_for(1000);
  // The finished picture, grown to 1.4 times the board.
  frame = Look();
  for (double x = -12; x <= 12; x += 4)
    for (double y = -8; y <= 8; y += 4)
      EXPECT_LE(Difference(Colour(frame, x, y, Depth_board), Picture_colour(pack, Final_picture, x, y, Depth_board, 1.4)), 24)
          << x << "," << y;
  Run_for(3000);
  EXPECT_EQ(started[Fanfare_sound], 1);
  EXPECT_TRUE(Is_object_in_global_store(Puzzle_pack(shown), "puzz_final"));
  for (int i = 0; i < Puzzle_count; ++i) EXPECT_EQ(Settings.puzzle_done[i], i == shown ? 1u : 0u);
  const std::string finished = Read_file(Settings_file());
  ASSERT_EQ(finished.size(), 80u);
  for (int i = 0; i < Puzzle_count; ++i) EXPECT_EQ(finished[40 + 4 * i], i == shown) << i;

  Push_ctrl_q();
  EXPECT_TRUE(Run_loop_step());
  Settings.music_flag = 0;  // a change that only the shutdown's save can write
  Shut_down();
  const std::string saved = Read_file(Settings_file());
  ASSERT_EQ(saved.size(), 80u);
  EXPECT_EQ(saved[4 + 31], 0);
  EXPECT_EQ(saved[4 + 32], 1);  // 20 pieces
  EXPECT_EQ(saved.substr(40), finished.substr(40));
}

}  // namespace
