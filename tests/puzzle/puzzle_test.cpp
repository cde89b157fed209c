// The puzzle layer alone on the real packs and real GL, stepped on the test clock: where the
// pieces lie, how fast a puzzle slides in and a piece flies home, and how the finished
// picture grows, as a child sees them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>

#include "puzzle/board.h"
#include "puzzle/completion.h"
#include "puzzle/show.h"
#include "resources/depths.h"
#include "state/session.h"
#include "state/settings.h"
#include "support/frames.h"
#include "support/pixels.h"

namespace {

class Puzzle : public ::testing::Test {
 protected:
  void SetUp() override {
    Start_scene();
    Reset_game_state();
    Resource_dir = SHOREBOUND_BINARY_DIR "/Resources/";
    Settings.piece_mode = 1;
  }
  static Param_map& Params(const std::string& object, const std::string& fun) {
    return Global_env[Puzzle_pack(0)][object]->functions[fun].params;
  }
};

TEST_F(Puzzle, EverySetScattersItsPiecesOffTheBoardOnScreenAndApart) {
  const std::map<uint32_t, int> apart = {{1, 10}, {2, 4}};  // least squared distance, by mode
  // The visible area at the pieces' depth on the narrowest screen, 4:3, less half a piece.
  const double half_h = (Camera_distance - Depth_piece) * Camera_near_half_height / Camera_near;
  const double half_w = half_h * 4 / 3 - 2.5;
  for (const Piece_set& set : Piece_sets) {
    Settings.piece_mode = set.mode;
    std::memset(scatter_x, 0x55, sizeof scatter_x);
    for (int round = 0; round < 30; ++round) {
      Scatter_pieces();
      for (int i = 0; i < Shape_count; ++i) {
        const int32_t x = scatter_x[i], y = scatter_y[i];
        if (i < set.first_shape || i >= set.first_shape + set.pieces) {
          ASSERT_EQ(x, 0x55555555) << "another set's piece " << i << " moved";
          continue;
        }
        ASSERT_TRUE(std::abs(x) > 10 || std::abs(y) > 7) << "on the board: " << x << "," << y;
        ASSERT_TRUE(std::abs(x) <= half_w && std::abs(y) <= half_h - 2.5) << "off screen: " << x << "," << y;
        for (int j = set.first_shape; j < i; ++j)
          ASSERT_GE((scatter_x[j] - x) * (scatter_x[j] - x) + (scatter_y[j] - y) * (scatter_y[j] - y), apart.at(set.mode))
              << i << " and " << j;
      }
    }
  }
}

TEST_F(Puzzle, APuzzleSlidesInOverASecondAndAQuarterAndAPieceFliesHomeAtAHundredthOfAUnitAMs) {
  Show_current_puzzle();
  Step();
  Step(609);  // 625 ms after it was shown: half way, half opaque
  EXPECT_EQ(Params("plase", "obj_view_start")["OPTICALY"].value.number, 0.5);
  EXPECT_EQ(Params("plase", "obj_view_start")["POS_Z"].value.number, -15);
  EXPECT_EQ(transition_lock, 1);
  Run_for(640);
  EXPECT_EQ(transition_lock, 0);

  const std::string piece = Shape_name(7);
  Param_map &place = Params(piece, "puzz_draw"), &drawn = Params(piece, "puzzle");
  const double home_x = drawn["CENTER_X"].value.number, home_y = drawn["CENTER_Y"].value.number;
  const double way_x = std::abs(place["POS_X"].value.number - home_x), way_y = std::abs(place["POS_Y"].value.number - home_y);
  Push_press_at(place["POS_X"].value.number, place["POS_Y"].value.number, Depth_piece, true);
  Step(), Step();
  ASSERT_EQ(selected_piece, piece);
  Push_press_at(home_x, home_y, Depth_piece, true);
  Step(), Step();
  ASSERT_EQ(selected_piece, "");
  double start = -1, reached_x = -1, reached_y = -1;
  while (place["POS_Z"].value.number != Depth_landed && test_now < 10000) {
    Step();
    if (start < 0 && Params(piece, "move_puzzle").count("TIME")) start = test_now;
    if (reached_x < 0 && place["POS_X"].value.number == home_x) reached_x = test_now;
    if (reached_y < 0 && place["POS_Y"].value.number == home_y) reached_y = test_now;
  }
  EXPECT_NEAR(reached_x - start, way_x * 100, 16);
  EXPECT_NEAR(reached_y - start, way_y * 100, 16);
  EXPECT_EQ(test_now, std::max(reached_x, reached_y) + 16);  // it settles in the next frame
  int stars = 0;
  for (int k = 0; k < 10; ++k) stars += Params("puzz_plase", piece + char(k)).count("MODEL_1");
  EXPECT_EQ(stars, 10);
}

TEST_F(Puzzle, TheFinishedPictureGrowsToOneAndAFifthIn400MsAndOneAndTwoFifthsIn800) {
  Show_current_puzzle();
  Run_for(1300);
  Finish_puzzle();
  const double made = test_now;
  Step();
  for (const auto& [ms, scale] : {std::pair<double, double>{400, 1.2}, {1000, 1.4}}) {
    Step(made + ms - test_now);
    const std::vector<unsigned char> frame = Read_frame();
    for (const auto& [x, y] : {std::pair<double, double>{11, 0}, {-11, 0}, {0, 8}, {0, -8}, {6, 4}, {-6, -4}})
      EXPECT_LE(Difference(Colour(frame, x, y, Depth_board), Picture_colour(Puzzle_pack(0), Final_picture, x, y, Depth_board, scale)), 24)
          << ms << " ms at " << x << "," << y;
  }
}

}  // namespace
