// Playing a board in the running game, through real taps and drags: dragging, a piece in flight,
// half-built boards kept, a parent's own photos, and switching puzzles while one is still busy
// (the progress read from the settings file as it stands, as a game killed then would leave it).
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <thread>

#include "library/import.h"
#include "library/library.h"
#include "resources/jpeg_encoder.h"
#include "support/game.h"

namespace {

class Play : public Game_test {
 protected:
  void SetUp() override {
    Game_test::SetUp();
    Played_before();
  }
  // The loose piece nearest its outline.
  static std::string Nearest() {
    std::string nearest;
    double way = 1e9;
    for (const std::string& shape : Loose()) {
      Param_map &at = Piece(shape, "puzz_draw"), &home = Piece(shape, "puzzle");
      const double its = std::max(std::abs(at["POS_X"].value.number - home["CENTER_X"].value.number),
                                  std::abs(at["POS_Y"].value.number - home["CENTER_Y"].value.number));
      if (its < way) way = its, nearest = shape;
    }
    return nearest;
  }
  // Where every piece of the shown board lies: home or loose, and its place.
  static std::vector<std::array<double, 3>> Board_as_it_lies() {
    std::vector<std::array<double, 3>> pieces;
    for (int i = Current_piece_set().first_shape; i < Current_piece_set().first_shape + Current_piece_set().pieces; ++i) {
      Param_map &at = Piece(Shape_name(i), "puzz_draw"), &drawn = Piece(Shape_name(i), "puzzle");
      pieces.push_back({at["POS_Z"].value.number + drawn["POS_Z"].value.number, at["POS_X"].value.number, at["POS_Y"].value.number});
    }
    return pieces;
  }
  void Next(double ms = 0) { Press("next_pz", "next_draw", ms); }
  void Previous(double ms = 0) { Press("prev_pz", "prev_draw", ms); }
  // The game ended (by Ctrl+Q, or killed: nothing saved at the end) and started again.
  void Restart(bool orderly, uint32_t piece_mode = 1) {
    if (orderly) Shut_down();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the disk has had its time
    Destroy_all_objects(), End_sound_system(), Reset_game_state(), Use_test_clock(0);
    ASSERT_NO_FATAL_FAILURE(Boot(piece_mode));
  }
  static int Views() {
    int views = 0;
    for (int i = 0; i < Puzzle_count; ++i) views += Is_object_in_global_store(Puzzle_pack(i), "plase");
    return views;
  }
  // The shown puzzle stands whole and alone, finished or with all its pieces loose.
  void Expect_whole(bool finished) {
    EXPECT_EQ(transition_lock, 0);
    EXPECT_EQ(Views(), 1);
    EXPECT_EQ(Is_object_in_global_store(Picture_pack(puzzle_index), "puzz_final"), finished);
    EXPECT_EQ(Loose().size(), finished ? 0u : 20u);
  }
};

TEST_F(Play, ADraggedPieceLiftsWithOneSoundGoesBackOrHomeAndAHalfBuiltBoardComesBackAsItWasLeft) {
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  std::string piece;  // one whose outline lies away from the board's middle
  for (const std::string& shape : Loose())
    if (std::abs(Piece(shape, "puzzle")["CENTER_X"].value.number) > 4) piece = shape;
  Param_map &at = Piece(piece, "puzz_draw"), &home = Piece(piece, "puzzle");
  const double x = at["POS_X"].value.number, y = at["POS_Y"].value.number;
  const std::vector<unsigned char> before = Look();
  Drag(piece, 0, 0, 2000);  // two seconds to the board's middle
  EXPECT_EQ(started[Pick_up_sound], 1);
  EXPECT_GT(Differing_on_board(Look(), before, 1.0), 10);  // its outline lights up
  EXPECT_EQ(at["POS_X"].value.number, x);
  EXPECT_EQ(at["POS_Y"].value.number, y);
  EXPECT_EQ(selected_piece, piece);  // still lifted where it lay
  Drag(piece, home["CENTER_X"].value.number, home["CENTER_Y"].value.number);
  EXPECT_EQ(started[Pick_up_sound], 2);
  ASSERT_FALSE(Home(piece));
  Point_at(at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece);  // where it flies now
  Tap_here();
  EXPECT_EQ(selected_piece, "");  // a piece in flight cannot be lifted again
  Run_for(2600);                  // it lands, its stars burn out
  EXPECT_TRUE(Home(piece));
  EXPECT_EQ(Loose().size(), 19u);
  // Nothing moves any more: the screen may rest, and the piece lies at its own size.
  EXPECT_EQ(home["SCALE_X"].value.number, 1.0);
  const uint64_t still = Store_signature();
  Frame();
  EXPECT_EQ(Store_signature(), still);
  // In its slot it shows its own part of the picture.
  const double home_x = home["CENTER_X"].value.number, home_y = home["CENTER_Y"].value.number;
  EXPECT_LE(Difference(Colour(Look(), home_x, home_y, Depth_landed),
                       Picture_colour(Puzzle_pack(0), Piece_sets[0].puzzle_picture, home_x, home_y, Depth_landed)), 24);
  // The half-built board comes back as it was left.
  const std::vector<std::string> loose = Loose();
  for (int i = 0; i < 5; ++i) Place(loose[i]);
  Run_for(2000);
  const auto left = Board_as_it_lies();
  ASSERT_EQ(Tap_piece(loose[10]), loose[10]);  // lifted: it comes back where it lay, not lifted
  auto count = [&](const char* fun) { Press("bmenu", "bmenu_draw", 1100), Press("m_menu", fun, 4000), Press("m_menu", "bclose_draw", 1100); };
  Next(2600), Previous(2600);
  EXPECT_EQ(Board_as_it_lies(), left) << "after switching away and back";
  count("b48pc_draw");
  Place(Loose()[0]);
  Run_for(2000);
  const auto forty_eight = Board_as_it_lies();
  count("b20pc_draw");
  EXPECT_EQ(Board_as_it_lies(), left) << "after 48 pieces and back";
  for (const bool orderly : {true, false}) {  // Ctrl+Q, or a kill: nothing saved at the end
    Next(2600);  // the picture seen last
    ASSERT_NO_FATAL_FAILURE(Restart(orderly));
    EXPECT_EQ(puzzle_index, 1);
    Previous(2600);
    EXPECT_EQ(Board_as_it_lies(), left) << (orderly ? "after Ctrl+Q" : "after a kill");
    count("b48pc_draw");
    EXPECT_EQ(Board_as_it_lies(), forty_eight) << (orderly ? "after Ctrl+Q" : "after a kill");
    count("b20pc_draw");
  }
}

TEST_F(Play, AParentsPhotosPlayLikeTheTenAndKeepTheirProgressByTheirOwnKeys) {
  std::string keys[2];  // a red photo and a blue one, green rising across each
  for (int photo = 0; photo < 2; ++photo) {
    std::vector<unsigned char> rgb(640 * 480 * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) rgb[i + 2 * photo] = 220, rgb[i + 1] = static_cast<unsigned char>(i / 3 % 640 / 4);
    const std::string file = home + "/photo" + std::to_string(photo) + ".jpg";
    Write_file(file, Encode_jpeg(rgb.data(), 640, 480, 90));
    ASSERT_EQ(Add_own_picture(file, keys[photo]), Picture_added);
  }
  ASSERT_NO_FATAL_FAILURE(Boot(3));
  Previous(2600);  // from the first picture: the last one added
  ASSERT_EQ(Picture_key(puzzle_index), keys[1]);
  // Its pieces are the models of a built-in puzzle of its pattern, held once for both.
  EXPECT_EQ(Global_data[Picture_pack(puzzle_index)]["Shape1"].pos, Global_data[Puzzle_pack(puzzle_index % Pattern_count)]["Shape1"].pos);
  Land_all_but(Loose()[0]);
  Run_for(2100);
  // A piece at home shows its part of the photo through the set's bevel: blue, not red.
  Param_map& home_of = Piece(Shape_name(Current_piece_set().first_shape + 1), "puzzle");
  const double x = home_of["CENTER_X"].value.number, y = home_of["CENTER_Y"].value.number;
  const std::array<int, 3> seen = Colour(Look(), x, y, Depth_landed);
  EXPECT_LE(Difference(seen, Picture_colour(Picture_pack(puzzle_index), Current_piece_set().puzzle_picture, x, y, Depth_landed)), 24);
  EXPECT_GT(seen[2], 150);
  EXPECT_LT(seen[0], 60);
  Land_all_but();
  Run_for(2100);
  EXPECT_TRUE(Is_object_in_global_store(Picture_pack(puzzle_index), "puzz_final"));
  EXPECT_EQ(started[Fanfare_sound], 1);
  Previous(2600);
  ASSERT_EQ(Picture_key(puzzle_index), keys[0]);
  Place(Loose()[0]);
  Run_for(2000);
  const auto left = Board_as_it_lies();
  ASSERT_NO_FATAL_FAILURE(Restart(false, 3));  // killed: the game comes back on the photo, half-built
  EXPECT_EQ(Picture_key(puzzle_index), keys[0]);
  EXPECT_EQ(Board_as_it_lies(), left);
  // Removing the first photo shifts no other's progress; the ten's done marks stay as they were.
  ASSERT_TRUE(Remove_own_picture(1));
  ASSERT_NO_FATAL_FAILURE(Restart(true, 3));
  EXPECT_EQ(Picture_count(), Puzzle_count + 1);
  EXPECT_EQ(puzzle_index, 0);
  Previous(2600);
  EXPECT_EQ(Picture_key(puzzle_index), keys[1]);
  EXPECT_TRUE(Is_object_in_global_store(Picture_pack(puzzle_index), "puzz_final"));
  Expect_saved_done({});
  // A stored picture damaged later is left out, said in one line; the game goes on.
  Write_file(Own_picture_file(keys[1]), "spoilt");
  testing::internal::CaptureStderr();
  ASSERT_NO_FATAL_FAILURE(Restart(true, 3));
  EXPECT_TRUE(One_line_naming(testing::internal::GetCapturedStderr(), Own_picture_file(keys[1]) + " cannot be read"));
  EXPECT_EQ(Picture_count(), Puzzle_count);
}

// One game of quick hands while a puzzle is still busy: each race ends on whole puzzles, and the
// file holds the finished ones alone.
TEST_F(Play, SwitchingOrBreakingUpWhileAPuzzleIsBusy) {
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  // Quick taps on the arrows: twelve times next, from 0 round to 2; three times back to 9.
  int most_views = 0;
  for (int i = 0; i < 15; ++i) i < 12 ? Next() : Previous(), most_views = std::max(most_views, Views());
  EXPECT_EQ(puzzle_index, 9);
  EXPECT_LE(most_views, 2);
  Run_for(3000);
  Expect_whole(false);
  // Finished, then next and previous within the slide: it comes back finished.
  Land_all_but();
  Run_for(200);
  Next(), Previous(3000);
  EXPECT_EQ(puzzle_index, 9);
  Expect_whole(true);
  Expect_saved_done({9});
  // Nineteen pieces home and next tapped as their stars burn out: it stays unfinished.
  Next(2600);
  const std::string last = Nearest();
  Land_all_but(last);
  Run_for(650);
  Next(3000);  // the slide-out ends in the frame in which the last landed piece's stars expire
  EXPECT_EQ(Settings.puzzle_done[0], 0u);
  Expect_saved_done({9});
  // Back on it, the last piece lands as its puzzle slides away: that still completes it.
  Previous(2600);
  ASSERT_EQ(Place(last), last);
  Param_map &at = Piece(last, "puzz_draw"), &home = Piece(last, "puzzle");
  Next();
  const double gone = Params({Puzzle_pack(0), "plase", "obj_hide_start"})["TIME"].value.number + 1250;
  while (at["POS_X"].value.number != home["CENTER_X"].value.number || at["POS_Y"].value.number != home["CENTER_Y"].value.number)
    Frame();
  ASSERT_LT(test_now, gone);
  Frame(gone - test_now);  // it settles in its slot as its puzzle's slide-out ends
  Run_for(3000);
  EXPECT_EQ(puzzle_index, 1);
  Expect_whole(false);
  Expect_saved_done({0, 9});
  // Finished, then broken up within a second: it stays broken up.
  Land_all_but();
  Run_for(200);
  Press("bbreak", "bbreak_draw", 400);
  Press("m_break", "bbreak_draw", 4000);
  EXPECT_EQ(puzzle_index, 1);
  Expect_whole(false);
  Expect_saved_done({0, 9});
}

}  // namespace
