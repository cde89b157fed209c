// Playing a board in the running game, through real clicks: the 48-piece star target, a piece
// in flight, a rebuild's fresh scatter, a window in front of the board, and dragging.
#include <algorithm>
#include <cmath>

#include "runtime/process.h"
#include "support/game.h"

namespace {

class Play : public Game_test {
 protected:
  void SetUp() override {
    Game_test::SetUp();
    Played_before();
  }
  // Where every piece of the shown puzzle lies now.
  std::vector<double> Positions() {
    std::vector<double> at;
    for (const std::string& shape : Loose())
      for (const char* axis : {"POS_X", "POS_Y"}) at.push_back(Piece(shape, "puzz_draw")[axis].value.number);
    return at;
  }
  bool Home(const std::string& shape) { return Piece(shape, "puzz_draw")["POS_Z"].value.number == Depth_landed; }
};

TEST_F(Play, AFortyEightPieceBoardCompletesWhenItsLastStarBurnsOut) {
  ASSERT_NO_FATAL_FAILURE(Boot(2));
  ASSERT_EQ(Loose().size(), 48u);
  const std::string last = Loose()[0];
  for (const std::string& shape : Loose()) {
    if (shape != last && Piece(shape, "puzzle").count("FUN")) { ASSERT_NE(Place(shape), last); }
  }
  Run_for(4500);  // every piece but the last has landed, all their stars burnt out
  ASSERT_EQ(Settings.puzzle_done[0], 0u);
  ASSERT_EQ(Place(last), last);
  while (!Home(last) && test_now < 120000) Frame();
  Run_for(1950);  // its ten stars still burn
  EXPECT_EQ(Settings.puzzle_done[0], 0u);
  EXPECT_FALSE(Is_object_in_global_store(Puzzle_pack(0), "puzz_final"));
  Run_for(100);
  EXPECT_EQ(Settings.puzzle_done[0], 1u);
  EXPECT_TRUE(Is_object_in_global_store(Puzzle_pack(0), "puzz_final"));
}

TEST_F(Play, APieceInFlightCannotBeSelectedAgain) {
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  const std::string piece = Place(Loose()[0]);
  ASSERT_FALSE(piece.empty());
  ASSERT_FALSE(Home(piece));
  Click_piece(piece);  // where it flies now
  EXPECT_EQ(selected_piece, "");
  Run_for(2500);
  EXPECT_TRUE(Home(piece));
  Click_piece(piece);  // and where it has landed
  EXPECT_EQ(selected_piece, "");
  EXPECT_EQ(Loose().size(), 19u);
}

TEST_F(Play, BreakingThePuzzleUpScattersItsPiecesAfresh) {
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  const std::vector<double> before = Positions();
  Click_drawing("Int_butt", "bbreak", "bbreak_draw");
  Run_for(1300);
  Click_drawing("z_Int_store", "m_break", "bbreak_draw");
  Run_for(4000);
  ASSERT_EQ(Loose().size(), 20u);
  EXPECT_NE(Positions(), before);
}

TEST_F(Play, AnOpenWindowTakesTheClicksMeantForTheBoardBehindIt) {
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  const std::string piece = Loose()[0];
  Click_drawing("Int_butt", "bhelp", "bhelp_draw");
  Run_for(1300);
  ASSERT_TRUE(Is_object_in_global_store("z_Int_store", "m_help"));
  Click_piece(piece);
  EXPECT_EQ(selected_piece, "");
  Click_drawing("Int_butt", "next_pz", "next_draw");
  EXPECT_EQ(puzzle_index, 0);
  Click_drawing("z_Int_store", "m_help", "bclose_draw");
  Run_for(1500);
  Click_piece(piece);  // the window gone, the board takes clicks again
  EXPECT_EQ(selected_piece, piece);
}

TEST_F(Play, ADraggedPieceGoesHomeOnItsOutlineAndBackWhenLetGoElsewhere) {
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  std::string piece;  // one whose outline lies away from the board's middle
  for (const std::string& shape : Loose())
    if (std::abs(Piece(shape, "puzzle")["CENTER_X"].value.number) > 4) piece = shape;
  Param_map& at = Piece(piece, "puzz_draw");
  const double x = at["POS_X"].value.number, y = at["POS_Y"].value.number;
  auto drag_to = [&](double to_x, double to_y) {
    Push_press_at(at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece);
    Run_for(100);
    int px, py;
    Pixel_of(to_x, to_y, Depth_piece, px, py);
    for (int i = 1; i <= 5; ++i) Push_motion(px, py), Run_for(50);
    Push_button(false, px, py);
    Run_for(200);
  };
  drag_to(0, 0);  // the board's middle, away from its outline (unless it belongs there)
  Param_map& home = Piece(piece, "puzzle");
  const double home_x = home["CENTER_X"].value.number, home_y = home["CENTER_Y"].value.number;
  EXPECT_EQ(at["POS_X"].value.number, x);
  EXPECT_EQ(at["POS_Y"].value.number, y);
  EXPECT_FALSE(Home(piece));
  drag_to(home_x, home_y);
  Run_for(500);
  EXPECT_TRUE(Home(piece));
  EXPECT_EQ(Loose().size(), 19u);
}

// ---- Switching puzzles while one is still busy; the progress is read from the settings file
// as it stands, as a game killed at that moment would leave it. ----

class Race : public Play {
 protected:
  void SetUp() override {
    Play::SetUp();
    Boot(1);
  }
  // Sends every loose piece home but `keep` and waits until they have landed.
  void Land_all_but(const std::string& keep = "") {
    std::vector<std::string> loose = Loose();
    for (const std::string& shape : loose) {
      if (shape != keep && Piece(shape, "puzzle").count("FUN")) { ASSERT_FALSE(Place(shape).empty()); }
    }
    for (const std::string& shape : loose)
      while (shape != keep && !Home(shape) && test_now < 100000) Frame();
  }
  void Next() { Click_drawing("Int_butt", "next_pz", "next_draw"); }
  int Views() {
    int views = 0;
    for (int i = 0; i < Puzzle_count; ++i) views += Is_object_in_global_store(Puzzle_pack(i), "plase");
    return views;
  }
  // Only the puzzle `done` (none: -1) is done in the file.
  void Expect_saved_done(int done) {
    const std::string file = Read_file(Settings_file());
    ASSERT_EQ(file.size(), 80u);
    for (int i = 0; i < Puzzle_count; ++i) EXPECT_EQ(file[40 + 4 * i], i == done) << "puzzle " << i;
  }
  // The shown puzzle stands whole, alone, with all its pieces loose.
  void Expect_whole_board() {
    EXPECT_EQ(transition_lock, 0);
    EXPECT_EQ(Views(), 1);
    EXPECT_TRUE(Is_object_in_global_store(Puzzle_pack(puzzle_index), "puzz_plase"));
    EXPECT_FALSE(Is_object_in_global_store(Puzzle_pack(puzzle_index), "puzz_final"));
    EXPECT_EQ(Loose().size(), 20u);
  }
};

TEST_F(Race, FinishThenNextWithinASecondKeepsTheFinishedPuzzle) {
  Land_all_but();
  Run_for(800);  // its last stars still burn
  Next();
  Run_for(3000);
  EXPECT_EQ(puzzle_index, 1);
  Expect_whole_board();
  Expect_saved_done(0);
}

TEST_F(Race, FinishThenBreakUpWithinASecondLeavesItBrokenUp) {
  Land_all_but();
  Run_for(200);
  Click_drawing("Int_butt", "bbreak", "bbreak_draw");
  Run_for(400);
  Click_drawing("z_Int_store", "m_break", "bbreak_draw");
  Run_for(4000);
  EXPECT_EQ(puzzle_index, 0);
  Expect_whole_board();
  Expect_saved_done(-1);
}

TEST_F(Race, APieceFlyingWhenNextIsClickedLandsOnItsOwnBoard) {
  // The last piece: the one nearest its outline, so that it lands before its board is gone.
  std::string last;
  double nearest = 1e9;
  for (const std::string& shape : Loose()) {
    Param_map &at = Piece(shape, "puzz_draw"), &home = Piece(shape, "puzzle");
    const double way = std::max(std::abs(at["POS_X"].value.number - home["CENTER_X"].value.number),
                                std::abs(at["POS_Y"].value.number - home["CENTER_Y"].value.number));
    if (way < nearest) nearest = way, last = shape;
  }
  ASSERT_LT(nearest, 10);
  Land_all_but(last);
  Run_for(2100);  // their stars burn out
  ASSERT_EQ(Place(last), last);
  Next();
  EXPECT_FALSE(Home(last));
  Run_for(3000);
  EXPECT_EQ(puzzle_index, 1);
  Expect_whole_board();
  Expect_saved_done(0);
}

TEST_F(Race, QuickClicksOnTheArrowsSettleOnOnePuzzle) {
  int most_views = 0;
  for (int i = 0; i < 15; ++i) {  // twelve times next, from 0 round to 2; three times back to 9
    i < 12 ? Next() : Click_drawing("Int_butt", "prev_pz", "prev_draw");
    most_views = std::max(most_views, Views());
  }
  EXPECT_EQ(puzzle_index, 9);
  EXPECT_LE(most_views, 2);
  Run_for(3000);
  Expect_whole_board();
}

}  // namespace
