// Drawing models with the drawing parameters, and the late blended pass, on real GL.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/frame.h"
#include "render/draw.h"
#include "runtime/process.h"
#include "support/scene.h"
#include "support/support.h"

namespace {

float seen_matrix[16];
void Read_matrix() { glGetFloatv(GL_MODELVIEW_MATRIX, seen_matrix); }

class Drawing : public ::testing::Test {
 protected:
  void SetUp() override {
    Ensure_video();
    Reset_runtime();
    Write_test_models();
    Main_object = new Object("Main_store", "main");
  }
  void TearDown() override { Reset_runtime(); }
  // Adds a drawn object below the root and runs the frame that applies its queues.
  Param_map& Drawn(const std::string& name, const std::string& model) {
    Object* object = Drawn_object("S", name, "draw", Draw_obj, model);
    Link_object(Main_object, "S", name);
    return Get_function_params(object, "draw");
  }
};

TEST_F(Drawing, TransformTranslatesScalesThenRotatesAboutXYZAndAbsentScalesStayOne) {
  Param_map& params = Drawn("obj", "quad.3DS");
  params["POS_X"].value.number = 1;
  params["POS_Y"].value.number = 2;
  params["POS_Z"].value.number = 3;
  params["SCALE_X"].value.number = 2;
  params["ROT_X"].value.number = 90;
  params["ROT_Z"].value.number = 90;
  params["FUN"].value.callback = Read_matrix;
  Run_frame();
  params["MOUSE_CL"].value.flag = 1;  // the click callback runs inside the transform
  Run_frame();
  // T(0,0,-100) T(1,2,3) S(2,1,1) Rx(90) Rz(90), column-major.
  const float expected[16] = {0, 0, 1, 0, -2, 0, 0, 0, 0, -1, 0, 0, 1, 2, -97, 1};
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(seen_matrix[i], expected[i], 1e-5) << "element " << i;
  EXPECT_EQ(params["MOUSE_CL"].value.flag, 0);  // consumed by the picking registration

  for (const char* name : {"POS_X", "POS_Y", "POS_Z", "ROT_X", "ROT_Z"}) params.erase(name);
  params["MOUSE_CL"].value.flag = 1;
  Run_frame();
  const float scaled_view[16] = {2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -100, 1};
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(seen_matrix[i], scaled_view[i]) << i;
}

TEST_F(Drawing, ModelAppearsWhereItsPositionPutsIt) {
  Param_map& params = Drawn("obj", "quad.3DS");
  params["POS_X"].value.number = 10;
  params["POS_Z"].value.number = 50;
  Run_frame();
  Run_frame();
  EXPECT_EQ(Red_at_world(10, 0, 50), 255);
  EXPECT_EQ(Red_at_world(10.8, 0.8, 50), 255);
  EXPECT_EQ(Red_at_world(11.3, 0, 50), 0);
  EXPECT_EQ(Red_at_world(0, 0, 50), 0);
  // Alpha test and blending are only on while the model draws.
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

TEST_F(Drawing, CenterDrawsAroundTheFirstPivotAndRecordsItOnce) {
  Param_map& params = Drawn("obj", "offset.3DS");
  params["CENTER"];
  params["MODEL_2"].text = "test.pak";
  params["MODEL_2"].text2 = "far.3DS";
  Run_frame();
  Run_frame();
  EXPECT_EQ(params.count("CENTER_SET"), 1u);
  EXPECT_DOUBLE_EQ(params["CENTER_X"].value.number, 2.0);
  EXPECT_DOUBLE_EQ(params["CENTER_Y"].value.number, 3.0);
  // Both models are drawn around the origin; their stored places stay empty.
  EXPECT_EQ(Red_at_world(0.5, 0.5, 0), 255);
  EXPECT_EQ(Red_at_world(2, 3, 0), 0);
  EXPECT_EQ(Red_at_world(5, 5, 0), 0);
}

TEST_F(Drawing, EveryParameterContainingModelIsDrawnButNotLowerCase) {
  Param_map& params = Drawn("obj", "quad.3DS");
  params["XMODEL_2"].text = "test.pak";
  params["XMODEL_2"].text2 = "far.3DS";
  params["model_1"].text = "test.pak";
  params["model_1"].text2 = "offset.3DS";
  Run_frame();
  Run_frame();
  EXPECT_EQ(Red_at_world(0, 0, 0), 255);
  EXPECT_EQ(Red_at_world(5, 5, 0), 255);
  EXPECT_EQ(Red_at_world(2, 3, 0), 0);
}

TEST_F(Drawing, TruncatedModelDrawsWhatFitsEmptyOnesNothingSilentlyAndMissingOnesAreReported) {
  Drawn("cut", "cut.3DS");
  Drawn("none", "none.3DS");
  Param_map& ghost = Drawn("ghost", "ghost.3DS");
  ghost["POS_X"].value.number = -6;
  Run_frame();
  testing::internal::CaptureStdout();
  Run_frame();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.find("none.3DS"), std::string::npos);
  EXPECT_NE(out.find("(Get_data_from_data_store)) In pack <test.pak> data <ghost.3DS> no found!"),
            std::string::npos);
  EXPECT_EQ(Red_at_world(0, 0, 0), 255);
  EXPECT_EQ(Red_at_world(-6, 0, 0), 0);
}

bool drew_before_late_pass = true;
void Probe_late() { drew_before_late_pass = Red_at_world(0, 0, 0) != 0; }

TEST_F(Drawing, BlendEndDrawsOnlyInTheLatePassWithoutWritingDepth) {
  Param_map& params = Drawn("late", "quad.3DS");
  params["BLEND_END"];
  params["ALPHA"];
  // A later object checks the frame before the late pass.
  Object* probe = new Object("T", "probe");
  Add_function(probe, "probe", Probe_late);
  Start_function_after(probe, "probe");
  Link_object(Main_object, "T", "probe");
  Run_frame();
  Run_frame();
  EXPECT_FALSE(drew_before_late_pass);
  EXPECT_EQ(Red_at_world(0, 0, 0), 255);
  EXPECT_TRUE(blend_list.empty());
  GLboolean depth_mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_mask);
  EXPECT_TRUE(depth_mask);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  // The late pass wrote no depth: a plane behind the quad still draws over its pixels.
  GLfloat depth = 0;
  int px, py;
  Pixel_of(0, 0, 0, px, py);
  glReadPixels(px, 899 - py, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_FLOAT_EQ(depth, 1.0f);
}

TEST_F(Drawing, QueuedBlendedDrawingWhoseFunctionVanishedIsSkipped) {
  Param_map& params = Drawn("late", "quad.3DS");
  params["BLEND_END"];
  Run_frame();
  Process_obj(Main_object);
  ASSERT_EQ(blend_list.size(), 1u);
  Global_env["S"]["late"]->functions.erase("draw");
  glClear(GL_COLOR_BUFFER_BIT);
  Draw_blend_objs();
  EXPECT_TRUE(blend_list.empty());
  EXPECT_EQ(Red_at_world(0, 0, 0), 0);
}

}  // namespace
