// Models drawn on real GL and read back from the frame: the late blended pass, and picking
// through real pointer events. (Where models land is seen by the game's pixel tests.)
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
