// Models drawn on real GL and read back from the frame: where the drawing parameters put
// them, CENTER, the late blended pass, and picking through real pointer events.
#include <gtest/gtest.h>
#include "support/frames.h"
#include "support/packs.h"

namespace {

bool Lit(double x, double y, double z) { return Red_at(x, y, z) > 200; }

class Render : public ::testing::Test {
 protected:
  void SetUp() override {
    Start_scene();
    Use_temp_resources();
    Write_test_models();
  }
};

TEST_F(Render, ModelIsMovedThenScaledThenTurnedAboutXThenZ) {
  // "offset.3DS" is the 2 x 2 square around (2, 3). Turned by 90 degrees about z, then by
  // 180 about x, it lies around (-3, -2); doubled in x, around (-6, -2); moved: (-2, -1).
  Param_map& params = Drawn("m", "draw", Draw_obj, "offset.3DS");
  params["POS_X"].value.number = 4;
  params["POS_Y"].value.number = 1;
  params["POS_Z"].value.number = 20;
  params["SCALE_X"].value.number = 2;
  params["ROT_X"].value.number = 180;
  params["ROT_Z"].value.number = 90;
  Step();
  Step();
  EXPECT_TRUE(Lit(-2, -1, 20));
  EXPECT_TRUE(Lit(-3.6, -1.6, 20));  // 4 wide, 2 high
  EXPECT_FALSE(Lit(-2, -2.5, 20));
  EXPECT_FALSE(Lit(-4.5, -1, 20));
  // Where other orders would put it: moved last, turned about z last, scaled first.
  EXPECT_FALSE(Lit(-8, -6, -20));
  EXPECT_FALSE(Lit(10, 3, 20));
  EXPECT_FALSE(Lit(1, -3, 20));
}

TEST_F(Render, CenterDrawsTheModelAroundItsFirstPivot) {
  Param_map& params = Drawn("m", "draw", Draw_obj, "offset.3DS");
  params["CENTER"];
  params["POS_X"].value.number = 10;
  Step();
  Step();
  EXPECT_TRUE(Lit(10, 0, 0));
  EXPECT_TRUE(Lit(10.8, -0.8, 0));
  EXPECT_FALSE(Lit(12, 3, 0));
}

bool lit_before_late_pass = true;
void Look_before_late_pass() { lit_before_late_pass = Lit(0, 0, 10); }

TEST_F(Render, BlendedModelIsDrawnAfterTheTreeWithoutWritingDepth) {
  Param_map& late = Drawn("late", "draw", Draw_obj, "quad.3DS");
  late["BLEND_END"];
  late["POS_Z"].value.number = 10;
  Add_started_function(new Object("test", "probe"), "probe", Look_before_late_pass, After_list);
  Link_object(Main_object, "test", "probe");
  Step();
  Step();
  EXPECT_FALSE(lit_before_late_pass);
  EXPECT_TRUE(Lit(0, 0, 10));
  int px, py;
  Pixel_of(0, 0, 10, px, py);
  float depth = 0;
  glReadPixels(px, Video_ptr->height - 1 - py, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_FLOAT_EQ(depth, 1.0f);
}

int clicks[3] = {0, 0, 0};
template <int i>
void Count() { ++clicks[i]; }

TEST_F(Render, NearestModelUnderThePointerTakesHoverAndClickAndNothingBesideThem) {
  const double depth[3] = {10, 20, 5};  // the nearest is queued between two farther ones
  const Callback counters[3] = {Count<0>, Count<1>, Count<2>};
  Param_map* quads[3];
  for (int i = 0; i < 3; ++i) {
    quads[i] = &Drawn("q" + std::to_string(i), "draw", Draw_obj, "quad.3DS");
    (*quads[i])["POS_Z"].value.number = depth[i];
    (*quads[i])["FUN"].value.callback = counters[i];
  }
  Step();
  Step();
  int px, py;
  Pixel_of(0.5, 0.5, 20, px, py);
  Push_motion(px, py);
  Step();
  for (int i = 0; i < 3; ++i) EXPECT_EQ((*quads[i])["MOUSE_HT"].value.flag, i == 1) << i;
  Push_press_at(0.5, 0.5, 20, true);
  Step();  // the pick pass marks the click; the callback runs in the next frame
  EXPECT_EQ(clicks[1], 0);
  Step();
  Step();
  EXPECT_EQ(clicks[0] + clicks[2], 0);
  EXPECT_EQ(clicks[1], 1);
  Push_press_at(2, 2, 20, true);  // beside every square
  Step();
  Step();
  EXPECT_EQ(clicks[0] + clicks[1] + clicks[2], 1);
}

}  // namespace
