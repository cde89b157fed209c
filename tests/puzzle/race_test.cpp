// What a child does while a puzzle is still busy: switching, breaking up or changing the piece
// count while stars burn, pieces fly or boards slide. The real game from its boot scene,
// driven through the event loop with real SDL clicks; each case reads the progress the game
// has saved by then, as a game killed at that moment would leave it.
#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/frame.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "puzzle/board.h"
#include "puzzle/completion.h"
#include "runtime/process.h"
#include "scenes/boot.h"
#include "support/puzzle_fixture.h"
#include "support/scene.h"
#include "support/support.h"

namespace {

class Race : public Puzzle_test {
 protected:
  void SetUp() override {
    Puzzle_test::SetUp();
    setenv("XDG_DATA_HOME", Make_temp_folder().c_str(), 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    Reset_settings();
    Build_boot_scene(Shut_down);
    // The loader preloads and hands over to the game screen, which asks for the piece count.
    while (!Exists("z_Int_store", "m_select") && now < 20000) Frame(250);
    step = 100;
    Run_for(1200);
    Settings.first_start = 0;  // no help window over the board
    Click_at(-8, -2, 68.05);   // the 20-piece card
    Run_for(1400);
  }
  void TearDown() override {
    if (Main_object != nullptr) Shut_down();
    Puzzle_test::TearDown();
  }

  bool Exists(const std::string& store, const std::string& name) { return Is_object_in_global_store(store, name); }
  void Next() { Click_drawing("Int_butt", "next_pz", "next_draw"); }
  void Previous() { Click_drawing("Int_butt", "prev_pz", "prev_draw"); }
  // The break button on the menu bar, then the break button of its window.
  void Break_this_puzzle() {
    Click_drawing("Int_butt", "bbreak", "bbreak_draw");
    Run_for(300);
    Click_drawing("z_Int_store", "m_break", "bbreak_draw");
  }
  std::vector<std::string> Loose() {
    std::vector<std::string> loose;
    for (int i = Current_piece_set().first_shape; i < Current_piece_set().first_shape + Current_piece_set().pieces; ++i)
      if (Exists(Pack(), Shape_name(i)) && !Piece_home(Shape_name(i))) loose.push_back(Shape_name(i));
    return loose;
  }
  // Every piece but the last lands at once; the child clicks the last one and its outline.
  void Place_all_but_the_last() {
    std::vector<std::string> loose = Loose();
    for (size_t i = 0; i + 1 < loose.size(); ++i) {
      Move_piece(loose[i], Home_x(loose[i]), Home_y(loose[i]));
      Start_function_after(Global_env[Pack()][loose[i]].get(), "move_puzzle");
    }
    Frame();
    Frame();
  }
  // The child sends a piece home with two clicks; returns when it has landed.
  void Place_by_hand(const std::string& shape) {
    Click_at(Piece_x(shape), Piece_y(shape), 63);
    ASSERT_EQ(selected_piece, shape);
    Click_at(Home_x(shape), Home_y(shape), 63);
    for (int i = 0; i < 200 && !Piece_home(shape); ++i) Frame();
    ASSERT_TRUE(Piece_home(shape));
  }
  // Stars burning on a puzzle's board.
  int Stars_on(const std::string& pack) {
    if (!Exists(pack, "puzz_plase")) return 0;
    int stars = 0;
    for (auto& [name, function] : Global_env[pack]["puzz_plase"]->functions) stars += function.fun == Draw_star;
    return stars;
  }
  // Puzzle views and pieces left in the global store, over all ten puzzles.
  int Views() {
    int views = 0;
    for (int i = 0; i < Puzzle_count; ++i) views += Exists(Puzzle_pack(i), "plase");
    return views;
  }
  int Objects_of_other_puzzles() {
    int count = 0;
    for (int i = 0; i < Puzzle_count; ++i)
      if (i != puzzle_index && Global_env.count(Puzzle_pack(i))) count += Global_env[Puzzle_pack(i)].size();
    return count;
  }
  // The shown puzzle stands whole: its view done sliding, a board of loose pieces, nothing locked.
  void Expect_whole_board(int pieces) {
    EXPECT_EQ(transition_lock, 0);
    EXPECT_TRUE(Exists(Pack(), "puzz_plase"));
    EXPECT_FALSE(Exists(Pack(), "puzz_final"));
    EXPECT_EQ(static_cast<int>(Loose().size()), pieces);
    EXPECT_EQ(Views(), 1);
    EXPECT_EQ(Objects_of_other_puzzles(), 0);
    EXPECT_FALSE(Main_object->functions.count("rebuilt_puzzle"));
  }
  // The done flags in the settings file as they stand: what a game killed now leaves behind
  // (empty when nothing was saved).
  std::vector<unsigned> Saved_done() {
    const std::string file = Read_file(Settings_file_path());
    if (file.size() != 80) return {};
    std::vector<unsigned> flags(Puzzle_count);
    for (int i = 0; i < Puzzle_count; ++i)
      for (int b = 3; b >= 0; --b) flags[i] = flags[i] << 8 | static_cast<unsigned char>(file[40 + 4 * i + b]);
    return flags;
  }
  std::vector<unsigned> Only(int index) {
    std::vector<unsigned> flags(Puzzle_count, 0);
    if (index >= 0) flags[index] = 1;
    return flags;
  }
};

TEST_F(Race, FinishThenClickNextWithinASecondKeepsTheFinishedPuzzle) {
  Place_all_but_the_last();
  Place_by_hand(Loose().back());
  Run_for(1000);
  Next();
  EXPECT_EQ(puzzle_index, 1);
  Run_for(3000);
  // The old puzzle's stars burnt out while it slid away: it is done, but puzzle 1 on screen
  // stands untouched, without a finished picture.
  Expect_whole_board(20);
  EXPECT_EQ(Saved_done(), Only(0));
}

TEST_F(Race, FinishThenBreakUpWithinASecondLeavesItBrokenUp) {
  Place_all_but_the_last();
  Place_by_hand(Loose().back());
  Run_for(600);
  Break_this_puzzle();  // its stars burn out while it slides away
  Run_for(4000);
  Expect_whole_board(20);
  EXPECT_EQ(Saved_done(), Only(-1));
}

TEST_F(Race, APieceFlyingWhenNextIsClickedLandsOnItsOwnBoard) {
  Place_all_but_the_last();
  Run_for(2100);  // their stars burn out
  // The last piece is sent home from close by and still flies when next is clicked.
  const std::string last = Loose().back();
  Move_piece(last, Home_x(last) + 3, Home_y(last));
  Frame();
  Click_at(Piece_x(last), Piece_y(last), 63);
  Click_at(Home_x(last), Home_y(last), 63);
  ASSERT_FALSE(Piece_home(last));
  Next();
  Run_for(400);
  EXPECT_EQ(Stars_on("puzzle0.pak"), 10);
  EXPECT_EQ(Stars_on("puzzle1.pak"), 0);
  Run_for(3000);
  Expect_whole_board(20);
  // Its stars still burnt when its board went: the puzzle counts as finished all the same.
  EXPECT_EQ(Saved_done(), Only(0));
}

TEST_F(Race, NextDuringARebuildThenAPieceCountChangeRebuildsTheNewPuzzle) {
  Break_this_puzzle();
  Run_for(1100);  // the break window has gone, puzzle 0 still slides out
  Next();
  EXPECT_EQ(puzzle_index, 1);
  Run_for(3000);
  Expect_whole_board(20);
  // The main menu's 48-piece switch rebuilds puzzle 1 with the other set.
  Click_drawing("Int_butt", "bmenu", "bmenu_draw");
  Run_for(1200);
  Click_drawing("z_Int_store", "m_menu", "b48pc_draw");
  Run_for(4000);
  EXPECT_EQ(Settings.piece_mode, 2u);
  Expect_whole_board(48);
  EXPECT_EQ(Saved_done(), Only(-1));
}

TEST_F(Race, QuickClicksOnTheArrowsSettleOnOnePuzzleWithoutLeftovers) {
  // Twelve quick clicks on next go round from 0 to 2, three on previous back past 0 to 9.
  int most_views = 0;
  for (int i = 0; i < 15; ++i) {
    if (i < 12)
      Next();
    else
      Previous();
    most_views = std::max(most_views, Views());
  }
  EXPECT_EQ(puzzle_index, 9);
  EXPECT_LE(most_views, 2);
  Run_for(3000);
  Expect_whole_board(20);
}

// The colours of a block of pixels below and right of a window pixel.
std::vector<unsigned char> Block_at(int px, int py) {
  std::vector<unsigned char> rgb(24 * 24 * 3);
  glReadPixels(px, Video_ptr->height - py - 24, 24, 24, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

TEST_F(Race, ThePointerStaysInFrontOfASlidingBoard) {
  int px, py;
  Pixel_of(0, 0, 63, px, py);
  auto sample = [&](int x, int y) {
    Push_motion(x, y);
    Frame();
    now += 16;
    Set_test_clock(now);
    Run_frame();
    return Block_at(px, py);
  };
  const auto board = sample(5, 5);
  const auto cursor = sample(px, py);
  Next();
  Run_for(500);
  const auto sliding = sample(px, py);
  int cursor_pixels = 0, lost = 0;
  for (size_t i = 0; i < board.size(); ++i) {
    if (std::abs(cursor[i] - board[i]) < 60) continue;
    ++cursor_pixels;
    lost += std::abs(sliding[i] - cursor[i]) > 12;
  }
  ASSERT_GT(cursor_pixels, 20);
  EXPECT_EQ(lost, 0);
}

}  // namespace
