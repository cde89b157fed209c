// Stars burning out and the completion of a puzzle.
#include <cstdlib>

#include "audio/sound.h"
#include "puzzle/completion.h"
#include "puzzle_fixture.h"
#include "resources/pack.h"
#include "runtime/process.h"
#include "support/support.h"

namespace {

class Completion : public Puzzle_test {
 protected:
  // Puts every loose piece home at once: each lands in its first flight step.
  void Land_all() {
    for (auto& [name, object] : Global_env[Pack()]) {
      if (name.rfind("Shape", 0) != 0 || Piece_home(name)) continue;
      Move_piece(name, Home_x(name), Home_y(name));
      Start_function_after(object.get(), "move_puzzle");
    }
  }
  // Effects now playing that were started from this entry.
  int Playing(const char* entry) {
    int count = 0;
    const unsigned char* wav = Get_data_from_data_store("music.pak", entry).pos;
    for (sample* s : sample_list) count += s->wav == wav;
    return count;
  }
};

TEST_F(Completion, TwentyPiecesCompleteAtThe200thStarWithOneFanfareAndOnlyTheirFlag) {
  setenv("ALSOFT_DRIVERS", "null", 1);
  Sound_ptr = new Sound_system();
  Open_sound_system(Sound_ptr);
  Settings.puzzle_done[5] = 1;
  puzzle_index = 3;
  Show_current_puzzle();
  Run_for(1300);
  Land_all();
  Frame();
  Frame();
  EXPECT_EQ(stars_done[puzzle_index], 0);
  int fanfares = 0, last_stars = 0;
  double completed_at = -1;
  for (int i = 0; i < 200 && completed_at < 0; ++i) {
    Frame();
    ASSERT_GE(stars_done[puzzle_index], last_stars);
    last_stars = stars_done[puzzle_index];
    if (Settings.puzzle_done[3]) {
      completed_at = now;
      EXPECT_EQ(stars_done[puzzle_index], 200);
      fanfares = Playing("final.wav");
    } else {
      EXPECT_LT(stars_done[puzzle_index], 200);
    }
  }
  ASSERT_GT(completed_at, 0);
  EXPECT_EQ(fanfares, 1);
  for (int p = 0; p < 10; ++p) EXPECT_EQ(Settings.puzzle_done[p], p == 3 || p == 5 ? 1u : 0u) << p;
  // The board ends in that frame; its pieces and slots go one frame later.
  EXPECT_FALSE(Is_object_in_global_store(Pack(), "puzz_plase"));
  EXPECT_TRUE(Is_object_in_global_store(Pack(), "puzz_final"));
  Frame();
  EXPECT_FALSE(Is_object_in_global_store(Pack(), "Shape1"));
  EXPECT_FALSE(Is_object_in_global_store("plase0.pak", "Shape1"));
  Run_for(500);
  EXPECT_EQ(Playing("final.wav"), 1);
  Close_sound_system(Sound_ptr);
  delete Sound_ptr;
  Sound_ptr = nullptr;
}

TEST_F(Completion, FortyEightPiecesNeed480Stars) {
  Settings.piece_mode = 2;
  Show_current_puzzle();
  Run_for(1300);
  Land_all();
  Run_for(1900);
  EXPECT_EQ(Settings.puzzle_done[0], 0u);
  Run_for(400);
  EXPECT_EQ(stars_done[puzzle_index], 480);
  EXPECT_EQ(Settings.puzzle_done[0], 1u);
}

TEST_F(Completion, FinishedPictureGrowsTo1Point2At400MsAnd1Point4From800) {
  Show_current_puzzle();
  Run_for(1300);
  Show_finished_picture(Pack());
  Param_map& grow = Global_env[Pack()]["puzz_final"]->functions["move_forward"].params;
  double start = now;
  Frame(0);  // linked
  Frame(0);  // queues applied
  Set_test_clock(start + 400);
  now = start + 400;
  Frame(0);
  EXPECT_NEAR(grow["SCALE_X"].value.number, 1.2, 1e-9);
  Frame(400);
  EXPECT_EQ(grow["SCALE_X"].value.number, 1.4);
  Frame(5000);
  EXPECT_EQ(grow["SCALE_Y"].value.number, 1.4);
}

TEST_F(Completion, AStarLivesTwoSecondsAndIsCountedOnceWhenItBurnsOut) {
  Show_current_puzzle();
  Run_for(1300);
  Move_piece("Shape1", Home_x("Shape1"), Home_y("Shape1"));
  Start_function_after(Global_env[Pack()]["Shape1"].get(), "move_puzzle");
  Frame();
  Frame();  // landing: ten stars on the board
  Object* board = Global_env[Pack()]["puzz_plase"].get();
  std::string star = std::string("Shape1") + '\0';
  ASSERT_EQ(board->functions.count(star), 1u);
  Run_for(1984);
  EXPECT_EQ(stars_done[puzzle_index], 0);
  Frame(40);
  Frame();
  EXPECT_EQ(stars_done[puzzle_index], 10);
  EXPECT_EQ(board->functions.count(star), 0u);
  Run_for(500);
  EXPECT_EQ(stars_done[puzzle_index], 10);
}

}  // namespace
