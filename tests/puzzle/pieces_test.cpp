// Selecting pieces and sending them home with real clicks: the outline, the flight, the
// landing and its stars.
#include <GL/gl.h>

#include "puzzle_fixture.h"
#include "runtime/process.h"

namespace {

class Pieces : public Puzzle_test {
 protected:
  void SetUp() override {
    Puzzle_test::SetUp();
    Show_current_puzzle();
    Run_for(1300);  // the slide-in ends and unlocks the pieces
    // Two pieces far apart, away from the others.
    Move_piece("Shape1", -15, 13);
    Move_piece("Shape2", 15, 13);
    Frame();
  }
  Param_map& Slot(const std::string& shape) {
    return Global_env[Board_pack(puzzle_index)][shape]->functions["puzz_draw"].params;
  }
  Object* Piece(const std::string& shape) { return Global_env[Pack()][shape].get(); }
  int Shadows(const std::string& shape) {
    int count = 0;
    for (auto& name : Piece(shape)->before_list) count += name == "shadow";
    return count;
  }
};

TEST_F(Pieces, SelectShowsOnlyItsOwnOutlineAndReselectOrAnotherKeepOneShadow) {
  Click_at(-15, 13, 63);
  EXPECT_EQ(selected_piece, "Shape1");
  EXPECT_EQ(Slot("Shape1").count("MODEL_1"), 1u);
  EXPECT_EQ(Slot("Shape1")["MODEL_1"].text2, "Shape1");
  EXPECT_EQ(Slot("Shape1")["FUN"].value.callback != nullptr, true);
  EXPECT_EQ(Piece("Shape1")->functions["puzzle"].params["POS_Z"].value.number, 0.1);
  EXPECT_EQ(Shadows("Shape1"), 1);

  Click_at(-15, 13, 63);  // the same piece again
  EXPECT_EQ(selected_piece, "Shape1");
  EXPECT_EQ(Shadows("Shape1"), 1);
  EXPECT_EQ(Slot("Shape1").count("MODEL_1"), 1u);

  Click_at(15, 13, 63);
  EXPECT_EQ(selected_piece, "Shape2");
  Frame();  // Shape1 ran before Shape2 in that frame: its stop applies in its next run
  EXPECT_EQ(Shadows("Shape1"), 0);
  EXPECT_EQ(Shadows("Shape2"), 1);
  EXPECT_EQ(Slot("Shape1").count("MODEL_1"), 0u);
  EXPECT_EQ(Slot("Shape1").count("FUN"), 0u);
  EXPECT_EQ(Piece("Shape1")->functions["puzzle"].params["POS_Z"].value.number, 0.0);
  int outlines = 0;
  for (int i = 1; i <= 20; ++i) outlines += Slot("Shape" + std::to_string(i)).count("MODEL_1");
  EXPECT_EQ(outlines, 1);
}

TEST_F(Pieces, ClickOnTheOutlineSendsThePieceHomeAndItNoLongerReacts) {
  Click_at(15, 13, 63);
  ASSERT_EQ(selected_piece, "Shape2");
  // A point well inside the slot, away from the outline.
  Click_at(Home_x("Shape2"), Home_y("Shape2"), 63);
  EXPECT_TRUE(selected_piece.empty());
  EXPECT_EQ(Slot("Shape2").count("MODEL_1"), 0u);
  EXPECT_EQ(Slot("Shape2").count("FUN"), 0u);
  EXPECT_EQ(Piece("Shape2")->functions["puzzle"].params.count("FUN"), 0u);
  bool flying = false;
  for (auto& name : Piece("Shape2")->after_list) flying |= name == "move_puzzle";
  EXPECT_TRUE(flying);
  // Clicking the flying piece does nothing.
  Click_at(Piece_x("Shape2"), Piece_y("Shape2"), 63);
  EXPECT_TRUE(selected_piece.empty());
  Run_for(3000);
  EXPECT_TRUE(Piece_home("Shape2"));
  Click_at(Home_x("Shape2"), Home_y("Shape2"), 63);
  EXPECT_TRUE(selected_piece.empty());
}

TEST_F(Pieces, WhileLockedPiecesIgnoreClicks) {
  transition_lock = 1;
  Move_piece("Shape1", -15, 13);
  Mouse_state.x = 0;
  Click_at(-15, 13, 63);
  EXPECT_TRUE(selected_piece.empty());
  transition_lock = 0;
  Click_at(-15, 13, 63);
  EXPECT_EQ(selected_piece, "Shape1");
}

TEST_F(Pieces, FlightOfSixByEightUnitsTakesItsTimePerAxisAndLandsAFrameAfterArriving) {
  Move_piece("Shape2", Home_x("Shape2") + 6, Home_y("Shape2") + 8);
  Frame();
  Click_at(Piece_x("Shape2"), Piece_y("Shape2"), 63);
  ASSERT_EQ(selected_piece, "Shape2");
  Click_at(Home_x("Shape2"), Home_y("Shape2"), 63);
  // The flight started in the frame of that click (its first step only sets the time).
  double start = now, x_time = -1, y_time = -1, land_time = -1;
  while (now - start < 2000 && land_time < 0) {
    Frame();
    if (x_time < 0 && Piece_x("Shape2") == Home_x("Shape2")) x_time = now - start;
    if (y_time < 0 && Piece_y("Shape2") == Home_y("Shape2")) y_time = now - start;
    if (Piece_home("Shape2")) land_time = now - start;
  }
  EXPECT_NEAR(x_time, 600, 30);
  EXPECT_NEAR(y_time, 800, 30);
  EXPECT_EQ(land_time, y_time + 16);
  EXPECT_EQ(Piece("Shape2")->functions["puzzle"].params["POS_Z"].value.number, 0.0);
  EXPECT_EQ(Piece("Shape2")->functions.count("shadow"), 0u);
  EXPECT_EQ(Piece("Shape2")->functions.count("move_puzzle"), 0u);
}

TEST_F(Pieces, LandingReleasesTenStarsNamedWithTheRawBytesZeroToNine) {
  Move_piece("Shape2", Home_x("Shape2"), Home_y("Shape2"));
  Object* board = Global_env[Pack()]["puzz_plase"].get();
  size_t before = board->functions.size();
  Start_function_after(Piece("Shape2"), "move_puzzle");
  Frame();  // the queue is applied
  Frame();  // already home: lands in its first flight step
  EXPECT_TRUE(Piece_home("Shape2"));
  EXPECT_EQ(board->functions.size(), before + 10);
  for (int k = 0; k < 10; ++k) {
    std::string name = std::string("Shape2") + static_cast<char>(k);
    ASSERT_EQ(board->functions.count(name), 1u) << k;
    Param_map& star = board->functions[name].params;
    EXPECT_EQ(star["MODEL_1"].text2, "star.3DS");
    EXPECT_GE(star["POS_X"].value.number, Home_x("Shape2") - 1.0001);
    EXPECT_LE(star["POS_X"].value.number, Home_x("Shape2") + 0.9001);
    EXPECT_GE(star["R_POS_Z"].value.number, 0.0);
  }
}

}  // namespace
