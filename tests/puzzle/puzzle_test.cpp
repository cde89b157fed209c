// The puzzle layer alone on the real packs and real GL, stepped on the test clock: where the
// pieces lie, how fast a puzzle slides in and a piece flies home, and how the finished
// picture grows, as a child sees them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <array>
#include <map>

#include "puzzle/board.h"
#include "puzzle/completion.h"
#include "puzzle/show.h"
#include "render/model.h"
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

// The extent of a piece's model around its pivot, where the game draws it: left, bottom, right, top.
std::array<float, 4> Extent(const std::string& shape) {
  std::array<float, 4> box = {1e9f, 1e9f, -1e9f, -1e9f};
  Model_walk walk;
  Mesh_view mesh;
  for (Start_model_walk(Get_data_from_data_store(Puzzle_pack(0), shape), walk); Next_mesh(walk, mesh);)
    for (uint32_t t = 0; t < mesh.triangles * 3; ++t) {
      float p[3];
      Mesh_vertex(mesh, t / 3, t % 3, p);
      for (int axis = 0; axis < 2; ++axis) {
        box[axis] = std::min(box[axis], p[axis] - mesh.pivot[axis]);
        box[axis + 2] = std::max(box[axis + 2], p[axis] - mesh.pivot[axis]);
      }
    }
  return box;
}

TEST_F(Puzzle, EverySetScattersItsPiecesOnScreenAtEveryShapeAndTheBigOnesClearOfTheBoardAndOfEachOther) {
  const std::map<uint32_t, int> apart = {{1, 10}, {2, 4}};  // least squared distance of the small ones
  const double half_h = (Camera_distance - Depth_piece) * Camera_near_half_height / Camera_near;
  for (const Piece_set& set : Piece_sets) {
    Settings.piece_mode = set.mode;
    std::memset(scatter_x, 0x55, sizeof scatter_x);
    for (int round = 0; round < 30; ++round) {
      Scatter_pieces();
      std::vector<std::array<float, 4>> boxes;  // where each piece lies
      for (int i = 0; i < Shape_count; ++i) {
        const int32_t x = scatter_x[i], y = scatter_y[i];
        if (i < set.first_shape || i >= set.first_shape + set.pieces) {
          ASSERT_EQ(x, 0x55555555) << "another set's piece " << i << " moved";
          continue;
        }
        const auto e = Extent(Shape_name(i));
        const std::array<float, 4> box = {x + e[0], y + e[1], x + e[2], y + e[3]};
        for (double aspect : {4.0 / 3, 16.0 / 10, 16.0 / 9, 21.0 / 9})
          ASSERT_TRUE(-box[0] <= half_h * aspect && box[2] <= half_h * aspect && -box[1] <= half_h && box[3] <= half_h)
              << Shape_name(i) << " off a " << aspect << " screen at " << x << "," << y;
        const double board_x = 10 * set.board_scale, board_y = 7 * set.board_scale;
        ASSERT_TRUE(std::abs(x) > board_x || std::abs(y) > board_y) << "on the board: " << x << "," << y;
        if (set.spots == nullptr) {
          for (int j = set.first_shape; j < i; ++j)
            ASSERT_GE((scatter_x[j] - x) * (scatter_x[j] - x) + (scatter_y[j] - y) * (scatter_y[j] - y), apart.at(set.mode));
          continue;
        }
        // Big pieces cover nothing of the board and nothing of each other.
        ASSERT_TRUE(box[2] <= -board_x || box[0] >= board_x || box[3] <= -board_y || box[1] >= board_y) << Shape_name(i);
        for (const auto& other : boxes)
          ASSERT_TRUE(box[2] <= other[0] || box[0] >= other[2] || box[3] <= other[1] || box[1] >= other[3]) << Shape_name(i);
        boxes.push_back(box);
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
