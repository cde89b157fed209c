// Selecting pieces and sending them home with real clicks and drags: the outline, the flight,
// the landing.
#include <GL/gl.h>

#include <cmath>

#include "puzzle_fixture.h"
#include "runtime/process.h"
#include "support/scene.h"

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

TEST_F(Pieces, DraggedOntoItsOutlineItGoesHomeOnceLetGoElsewhereItGoesBackLifted) {
  // The button stays down after the press that lifts the piece; the pointer moves in steps.
  auto drag = [&](double from_x, double from_y, double to_x, double to_y) {
    int px, py;
    Pixel_of(from_x, from_y, 63, px, py);
    Push_motion(px, py);
    Push_button(true, px, py);
    Frame();
    Frame();
    for (int step = 1; step <= 4; ++step) {
      Pixel_of(from_x + (to_x - from_x) * step / 4, from_y + (to_y - from_y) * step / 4, 63, px, py);
      Push_motion(px, py);
      Frame();
    }
    Frame();
    Push_button(false, px, py);
    Frame();
  };
  const double home_x = Home_x("Shape1"), home_y = Home_y("Shape1");
  // Let go on the board beside its outline: back where it lay, still lifted, outline lit.
  drag(-15, 13, home_x + 7, home_y);
  EXPECT_NEAR(Piece_x("Shape1"), home_x + 7 - 0.3, 0.6);  // it followed, the grip kept
  Frame();
  EXPECT_EQ(Piece_x("Shape1"), -15);
  EXPECT_EQ(Piece_y("Shape1"), 13);
  EXPECT_EQ(selected_piece, "Shape1");
  EXPECT_EQ(Slot("Shape1").count("MODEL_1"), 1u);
  EXPECT_FALSE(Piece_home("Shape1"));
  // Dragged onto its outline: it flies home from there and lands once.
  drag(-15, 13, home_x, home_y);
  Frame();
  EXPECT_TRUE(selected_piece.empty());
  EXPECT_LT(std::abs(Piece_x("Shape1") - home_x), 1.0);
  Run_for(300);
  EXPECT_TRUE(Piece_home("Shape1"));
  drag(home_x, home_y, home_x + 1, home_y);  // nothing is left to take it
  Run_for(100);
  int stars = 0;
  for (auto& [name, function] : Global_env[Pack()]["puzz_plase"]->functions) stars += name.rfind("Shape1", 0) == 0;
  EXPECT_EQ(stars, 10);
  // A drop on the outline of a piece that was never lifted does nothing.
  drag(15, 13, Home_x("Shape3"), Home_y("Shape3"));
  Frame();
  EXPECT_FALSE(Piece_home("Shape3"));
  EXPECT_EQ(selected_piece, "Shape2");
}

}  // namespace
