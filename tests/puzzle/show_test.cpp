// Showing, hiding and switching puzzles: the slides, the lock, previous and next.
#include "app/frame.h"
#include "puzzle_fixture.h"
#include "runtime/process.h"
#include "scenes/windows.h"

namespace {

using Show = Puzzle_test;

Param_map& View_params(const std::string& pack, const char* fun) {
  return Global_env[pack]["plase"]->functions[fun].params;
}

TEST_F(Show, SlideInTakes1250MsAndUnlocksThePiecesWhenItEnds) {
  Show_current_puzzle();
  EXPECT_EQ(transition_lock, 1);
  Frame(0);
  Frame(0);
  Run_for(624);
  Frame(1);  // 625 ms after the show
  EXPECT_NEAR(View_params("puzzle0.pak", "obj_view_start")["OPTICALY"].value.number, 0.5, 1e-9);
  EXPECT_NEAR(View_params("puzzle0.pak", "obj_view_start")["POS_Z"].value.number, -15, 1e-9);
  EXPECT_EQ(transition_lock, 1);
  Run_for(600);
  EXPECT_EQ(transition_lock, 1);
  Run_for(48);
  EXPECT_EQ(transition_lock, 0);
  EXPECT_EQ(Global_env["puzzle0.pak"]["plase"]->functions.count("obj_view_start"), 0u);
  EXPECT_EQ(Global_env["puzzle0.pak"]["plase"]->functions.count("obj_view_end"), 0u);
}

TEST_F(Show, HideDuringTheSlideInWaitsForItAndThenTakesItsFull1250Ms) {
  Show_current_puzzle();
  Run_for(500);
  Hide_puzzle(Pack());
  Run_for(800);  // the slide-in ends about now
  EXPECT_EQ(transition_lock, 1);
  double slide_in_done = now;
  Run_for(1150);
  EXPECT_TRUE(Is_object_in_global_store(Pack(), "plase"));
  EXPECT_EQ(transition_lock, 1);
  Run_for(200);
  EXPECT_FALSE(Is_object_in_global_store(Pack(), "plase"));
  EXPECT_EQ(transition_lock, 0);
  EXPECT_GT(now - slide_in_done, 1250);
  Frame();
  EXPECT_FALSE(Is_object_in_global_store(Pack(), "puzz_plase"));
}

TEST_F(Show, ADonePuzzleComesBackAsItsFinishedPicture) {
  Settings.puzzle_done[2] = 1;
  puzzle_index = 2;
  Show_current_puzzle();
  EXPECT_TRUE(Is_object_in_global_store("puzzle2.pak", "puzz_final"));
  EXPECT_FALSE(Is_object_in_global_store("puzzle2.pak", "puzz_plase"));
  EXPECT_FALSE(Is_object_in_global_store("puzzle2.pak", "Shape1"));
}

TEST_F(Show, ASelectedPieceLosesItsShadowAndOutlineWhenThePuzzleSwitches) {
  Show_current_puzzle();
  Run_for(1300);
  Move_piece("Shape3", 15, 12);
  Frame();
  Click_at(15, 12, 63);
  ASSERT_EQ(selected_piece, "Shape3");
  Object* piece = Global_env["puzzle0.pak"]["Shape3"].get();
  Show_next_puzzle();
  EXPECT_TRUE(selected_piece.empty());
  EXPECT_EQ(Global_env["plase0.pak"]["Shape3"]->functions["puzz_draw"].params.count("MODEL_1"), 0u);
  Frame();
  int shadows = 0;
  for (auto& name : piece->before_list) shadows += name == "shadow";
  EXPECT_EQ(shadows, 0);
}

Object* window = nullptr;
void Choose_48_in_window() {
  Current_object = window;
  Set_piece_count_48();
}

TEST_F(Show, PieceCountChoiceClosesTheWindowOnceAndShowsThePuzzle) {
  window = new Object("z_Int_store", "m_select");
  Choose_48_in_window();
  EXPECT_EQ(Settings.piece_mode, 2u);
  EXPECT_TRUE(Is_object_in_global_store("puzzle0.pak", "Shape21"));
  EXPECT_TRUE(Has_fun_param(window, "long_hide", "OPTICALY"));
  // A second choice while the window fades out changes nothing.
  Settings.piece_mode = 5;
  Choose_48_in_window();
  EXPECT_EQ(Settings.piece_mode, 5u);
}

}  // namespace
