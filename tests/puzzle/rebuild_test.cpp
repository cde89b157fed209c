// Breaking puzzles up again through the real break windows: the frame-by-frame course of a
// rebuild, finished puzzles coming back as boards, and requests made while one runs.
#include <algorithm>
#include <utility>
#include <vector>

#include "app/frame.h"
#include "puzzle/board.h"
#include "runtime/process.h"
#include "scenes/windows.h"
#include "support/puzzle_fixture.h"

namespace {

class Rebuild : public Puzzle_test {
 protected:
  bool Exists(const std::string& store, const std::string& name) {
    return Is_object_in_global_store(store, name);
  }
  Object* Window(const char* name) { return Global_env["z_Int_store"][name].get(); }
  void Click_button(const char* window, const char* fun) { Click_drawing("z_Int_store", window, fun); }
  bool Closing(const char* window) { return Has_fun_param(Window(window), "long_hide", "OPTICALY"); }
  bool Rebuilding() { return Main_object->functions.count("rebuilt_puzzle") != 0; }
  unsigned char Hidden_flag() {
    return Main_object->functions["rebuilt_puzzle"].params["puzzle_del"].value.flag;
  }
  Object* View() { return Global_env[Pack()]["plase"].get(); }
  // Where the current set's pieces lie.
  std::vector<std::pair<double, double>> Scatter() {
    std::vector<std::pair<double, double>> places;
    for (int i = Current_piece_set().first_shape; i < Current_piece_set().first_shape + Current_piece_set().pieces; ++i)
      places.emplace_back(Piece_x(Shape_name(i)), Piece_y(Shape_name(i)));
    return places;
  }
  // Opens the break window over the shown puzzle and clicks its break button.
  void Break_this_puzzle() {
    Open_break_window();
    Run_for(1100);
    Click_button("m_break", "bbreak_draw");
  }
  // Main menu, its break-all button, then the break button of the break-all window.
  void Break_all_puzzles(double menu_wait, double window_wait) {
    Open_main_menu();
    Run_for(menu_wait);
    Click_button("m_menu", "bbreak_draw");
    ASSERT_TRUE(Exists("z_Int_store", "m_breaks"));
    Run_for(window_wait);
    Click_button("m_breaks", "bbreak_draw");
  }
};

TEST_F(Rebuild, SlidesOutFor1250MsWaitsTwoFramesAndShowsAFreshScatter) {
  Show_current_puzzle();
  Run_for(1300);
  const auto old_scatter = Scatter();
  Break_this_puzzle();
  EXPECT_TRUE(Closing("m_break"));
  ASSERT_TRUE(Rebuilding());

  Frame();  // the rebuild's first step starts the slide-out
  const double hide_started = now;
  EXPECT_EQ(Hidden_flag(), 1);
  EXPECT_EQ(View()->functions["obj_hide_start"].params["TIME"].value.number, hide_started);
  Run_for(1248);
  EXPECT_TRUE(Exists(Pack(), "plase"));
  EXPECT_EQ(transition_lock, 1);
  // The slide-out is not restarted while it runs.
  EXPECT_EQ(View()->functions["obj_hide_start"].params["TIME"].value.number, hide_started);

  Frame();  // 1264 ms: the view object ends and is swept; the board goes one frame later
  EXPECT_FALSE(Exists(Pack(), "plase"));
  EXPECT_TRUE(Exists(Pack(), "puzz_plase"));
  EXPECT_EQ(Hidden_flag(), 1);
  EXPECT_EQ(transition_lock, 0);

  Frame();  // the flag goes back; nothing of the puzzle is left
  EXPECT_EQ(Hidden_flag(), 0);
  EXPECT_FALSE(Exists(Pack(), "puzz_plase"));
  EXPECT_EQ(Board_pieces(Pack()), 0);
  EXPECT_FALSE(Exists(Pack(), "plase"));

  Frame();  // shown again, sliding in; the rebuild is over
  EXPECT_TRUE(Exists(Pack(), "plase"));
  EXPECT_EQ(Board_pieces(Pack()), 20);
  EXPECT_FALSE(Rebuilding());
  EXPECT_TRUE(Has_fun_param(View(), "obj_view_start", "OPTICALY"));
  EXPECT_EQ(transition_lock, 1);
  EXPECT_NE(Scatter(), old_scatter);

  // The new board is played like any other.
  Run_for(1300);
  EXPECT_EQ(transition_lock, 0);
  Click_at(Piece_x("Shape4"), Piece_y("Shape4"), 63);
  EXPECT_FALSE(selected_piece.empty());
}

TEST_F(Rebuild, AFinishedPuzzleComesBackAsAFreshBoard) {
  Settings.puzzle_done[0] = 1;
  Settings.puzzle_done[1] = 1;
  Show_current_puzzle();
  Run_for(1300);
  ASSERT_TRUE(Exists(Pack(), "puzz_final"));
  Break_this_puzzle();
  EXPECT_EQ(Settings.puzzle_done[0], 0u);
  EXPECT_EQ(Settings.puzzle_done[1], 1u);  // only this one
  Run_for(1250 + 4 * 16);
  EXPECT_FALSE(Rebuilding());
  EXPECT_FALSE(Exists(Pack(), "puzz_final"));
  EXPECT_TRUE(Exists(Pack(), "puzz_plase"));
  EXPECT_EQ(Board_pieces(Pack()), 20);
}

TEST_F(Rebuild, BreakAllClearsEveryFlagButRebuildsOnlyTheCurrentPuzzle) {
  for (auto& done : Settings.puzzle_done) done = 1;
  puzzle_index = 3;
  Show_current_puzzle();
  Run_for(1300);
  Break_all_puzzles(1100, 2100);
  for (int i = 0; i < Puzzle_count; ++i) EXPECT_EQ(Settings.puzzle_done[i], 0u) << i;
  EXPECT_TRUE(Closing("m_breaks"));
  Run_for(1250 + 4 * 16);
  EXPECT_FALSE(Rebuilding());
  EXPECT_EQ(Board_pieces("puzzle3.pak"), 20);
  EXPECT_FALSE(Exists("puzzle3.pak", "puzz_final"));
  for (int i = 0; i < Puzzle_count; ++i) {
    if (i != 3) {
      EXPECT_FALSE(Exists(Puzzle_pack(i), "plase")) << i;
    }
  }
  // The next puzzle, finished before, now comes as a board too.
  Show_next_puzzle();
  EXPECT_TRUE(Exists("puzzle4.pak", "puzz_plase"));
  EXPECT_FALSE(Exists("puzzle4.pak", "puzz_final"));
}

TEST_F(Rebuild, ASecondBreakWhileOneRunsChangesNeitherFlagsNorTheRunningRebuild) {
  Settings.puzzle_done[5] = 1;
  Show_current_puzzle();
  Run_for(1300);
  Break_this_puzzle();
  Frame();
  const double hide_started = now;
  Object* view = View();
  // The first break window has gone; the slide-out runs for about 240 ms more.
  Run_for(1008);
  ASSERT_FALSE(Exists("z_Int_store", "m_break"));
  Open_main_menu();
  Frame();
  Click_button("m_menu", "bbreak_draw");
  Frame();
  ASSERT_TRUE(Exists(Pack(), "plase"));
  ASSERT_EQ(Hidden_flag(), 1);
  Click_button("m_breaks", "bbreak_draw");
  ASSERT_TRUE(Closing("m_breaks"));  // the break-all button was clicked
  EXPECT_EQ(Settings.puzzle_done[5], 1u);
  EXPECT_EQ(View(), view);
  EXPECT_EQ(view->functions["obj_hide_start"].params["TIME"].value.number, hide_started);
  EXPECT_EQ(std::count(Main_object->after_list.begin(), Main_object->after_list.end(),
                       "rebuilt_puzzle"),
            1);
  EXPECT_TRUE(Main_object->start_after_queue.empty());

  // One rebuild ends, and nothing follows it.
  Run_for(300);
  EXPECT_FALSE(Rebuilding());
  ASSERT_TRUE(Exists(Pack(), "plase"));
  Run_for(2600);
  ASSERT_TRUE(Exists(Pack(), "plase"));
  const auto& hiding = View()->before_list;
  EXPECT_EQ(std::count(hiding.begin(), hiding.end(), "obj_hide_start"), 0);
  EXPECT_EQ(transition_lock, 0);
  EXPECT_EQ(Board_pieces(Pack()), 20);
}

}  // namespace
