// Models drawn on real GL and read back from the frame: the late blended pass, the backdrop's
// copy, and picking through real pointer events. (Where models land is seen by the game's pixel
// tests.)
#include <gtest/gtest.h>

#include <filesystem>

#include "render/backdrop.h"
#include "resources/names.h"
#include "resources/texture.h"
#include "support/frames.h"
#include "support/packs.h"
#include "support/pixels.h"

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

// The game's background as a backdrop, behind a square drawn before it: the frame shows what
// Draw_obj draws (within a step of rounding), then and after its scale changes, while its own
// picture is no longer drawn (its texture goes idle and is released).
TEST_F(Render, ABackdropShowsWhatItsModelWouldWhileItsCopyStandsInForIt) {
  std::filesystem::copy_file(SHOREBOUND_BINARY_DIR "/Resources/" + std::string(Main_pack), Resource_dir + Main_pack);
  Drawn("a_near", "draw", Draw_obj, "quad.3DS")["POS_Z"].value.number = 10;
  Param_map& back = Drawn("back", "draw", Draw_obj, "quad.3DS");
  back["MODEL_1"].text = Main_pack, back["MODEL_1"].text2 = Background_model;
  back["ROT_X"].value.number = -90;
  Callback& fun = Global_env["test"]["back"]->functions["draw"].fun;
  for (double scale : {1.0, 0.7}) {
    back["SCALE_X"].value.number = back["SCALE_Z"].value.number = scale;
    fun = Draw_obj;
    Step(), Step();  // the first frame starts what was added
    const std::vector<unsigned char> drawn = Read_frame();
    fun = Draw_backdrop;
    for (int frame = 0; frame < 3; ++frame) Step(), Release_idle_gl_tex();
    EXPECT_EQ(Global_data[Main_pack][Background_picture + std::string("_tex")].size, 0u) << scale;
    const std::vector<unsigned char> copied = Read_frame();
    int most = 0;
    for (size_t i = 0; i < drawn.size(); ++i) most = std::max(most, std::abs(drawn[i] - copied[i]));
    EXPECT_LE(most, 1) << scale;
  }
  Free_backdrop();
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
