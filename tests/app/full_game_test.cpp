// The whole first game as a child plays it, through the event loop paced as it runs for a child,
// on the real clock, with real SDL events: boot and loader, the piece-count window, the help,
// every piece of a 20-piece puzzle sent home (tapped or dragged), the finished picture, Ctrl+Q
// and the orderly shutdown, listened to through OpenAL Soft's wave driver. It also runs under
// valgrind's memcheck (tests/CMakeLists.txt), so it stays the one test named FullGame.
#include "resources/piece_sets.h"
#include "support/game.h"
#include "support/heard.h"

namespace {

// Whether a picture of a pack is decoded.
bool Decoded(const std::string& pack, const std::string& picture) { return Global_data[pack][picture + "_tex"].image != nullptr; }

using FullGame = Game_test;

TEST_F(FullGame, FirstGameFromBootToTheFinishedPictureAndCtrlQ) {
  // What is heard, through a mono output without the library's limiter: nothing but the
  // game's own gains keeps it from clipping.
  const std::string heard_file = Listen("channels = mono\noutput-limiter = false");
  Frame_interval_ms = 1000.0 / 60.0;  // the loop paced as for a child, on the real clock
  Time_of_day_ms = Real_time_of_day_ms;
  Build_boot_scene(Shut_down);
  Until([] { return Is_object_in_global_store("A_Int_store", "fon"); }, 10000);
  EXPECT_GE(Clock_ms(), 6000);  // the loader's five seconds and its fade-out
  // The loader decodes what a switch of picture or count shows at once; a finished picture and a
  // preview wait until they show.
  for (int i = 0; i < Puzzle_count; ++i) {
    for (const Piece_set& set : Piece_sets)
      EXPECT_TRUE(Decoded(Puzzle_pack(i), set.puzzle_picture) && Decoded(Board_pack(i), set.board_picture) &&
                  Decoded(Shadow_pack(i), set.shadow_picture)) << i << " " << set.pieces;
    EXPECT_FALSE(Decoded(Puzzle_pack(i), Final_picture) || Decoded(Puzzle_pack(i), Preview_picture)) << i;
  }
  Until([] { return false; }, 1100);  // the piece-count window fades in
  Press("m_select", "m_low_draw");
  Until([] { return false; }, 2200);  // the help opens a second later and fades in
  Press("m_help", "bclose_draw");
  Until([] { return !Is_object_in_global_store("z_Int_store", "m_help"); }, 1500);
  ASSERT_FALSE(Is_object_in_global_store("z_Int_store", "m_help"));

  const int shown = puzzle_index;
  ASSERT_EQ(Loose().size(), 20u);
  // Half the pieces tapped home, half dragged onto their outlines.
  for (int moves = 0; !Loose().empty() && moves < 40; ++moves) {
    const std::string shape = Loose()[0];
    Param_map& home = Piece(shape, "puzzle");
    if (moves % 2)
      Place(shape);
    else
      Drag(shape, home["CENTER_X"].value.number, home["CENTER_Y"].value.number, 150);
  }
  EXPECT_TRUE(Loose().empty());
  Until([&] { return Settings.puzzle_done[shown] != 0; }, 15000);
  Until([] { return false; }, 1000);
  // The finished picture, grown to 1.4 times the board.
  const std::vector<unsigned char> frame = Look();
  for (double x = -12; x <= 12; x += 4)
    for (double y = -8; y <= 8; y += 4)
      EXPECT_LE(Difference(Colour(frame, x, y, Depth_board), Picture_colour(Puzzle_pack(shown), Final_picture, x, y, Depth_board, 1.4)), 24)
          << x << "," << y;
  EXPECT_EQ(started[Pick_up_sound], 20);
  EXPECT_EQ(started[Land_sound], 20);
  EXPECT_EQ(started[Fanfare_sound], 1);
  Expect_saved_done({shown});
  const std::string finished = Read_file(Settings_file());
  Key(SDLK_q, KMOD_LCTRL);
  EXPECT_TRUE(quit_asked);
  Settings.music_flag = 0;  // a change that only the shutdown's save can write
  Shut_down();
  const std::string saved = Read_file(Settings_file());
  ASSERT_EQ(saved.size(), 80u);
  EXPECT_EQ(saved[4 + 31], 0);
  EXPECT_EQ(saved[4 + 32], 1);  // 20 pieces
  EXPECT_EQ(saved.substr(40), finished.substr(40));
  const auto [peak, rms] = Peak_and_rms_db(Read_heard(heard_file));
  EXPECT_LE(peak, -1.0);
  EXPECT_GE(rms, -40.0);  // and it was heard
}

}  // namespace
