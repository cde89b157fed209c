// Picking: the pointer ray against queued models, hover and click flags, the click callback.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/frame.h"
#include "platform/input.h"
#include "render/draw.h"
#include "render/pick.h"
#include "render/ray.h"
#include "runtime/process.h"
#include "support/scene.h"
#include "support/support.h"

namespace {

const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

TEST(Ray, FacingTriangleAtDepthZIsAtDistanceZInEitherWinding) {
  const float triangle[9] = {-1, -1, -7.5f, 1, -1, -7.5f, 0, 1, -7.5f};
  EXPECT_FLOAT_EQ(Ray_triangle_distance(0, 0, 0.1f, identity, triangle), 7.5f);
  const float reversed[9] = {0, 1, -7.5f, 1, -1, -7.5f, -1, -1, -7.5f};
  EXPECT_FLOAT_EQ(Ray_triangle_distance(0, 0, 0.1f, identity, reversed), 7.5f);
  const float moved[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -100, 1};
  const float at_zero[9] = {-1, -1, 0, 1, -1, 0, 0, 1, 0};
  EXPECT_FLOAT_EQ(Ray_triangle_distance(0, 0, 0.1f, moved, at_zero), 100.0f);
  // A pointer off to the side misses.
  EXPECT_EQ(Ray_triangle_distance(0.05f, 0, 0.1f, identity, triangle), 0.0f);
}

TEST(Ray, DegenerateTrianglesAreRejected) {
  const float at_eye[9] = {-1, -1, 0, 1, -1, -5, 0, 1, -5};
  EXPECT_EQ(Ray_triangle_distance(0, 0, 0.1f, identity, at_eye), 0.0f);
  // In a plane that contains the ray: seen edge-on.
  const float edge_on[9] = {0, -1, -5, 0, 1, -5, 0, 0, -10};
  EXPECT_EQ(Ray_triangle_distance(0, 0, 0.1f, identity, edge_on), 0.0f);
  // All three vertices on one point.
  const float point[9] = {0, 0, -5, 0, 0, -5, 0, 0, -5};
  EXPECT_EQ(Ray_triangle_distance(0, 0, 0.1f, identity, point), 0.0f);
}

int clicks = 0;
void Count_click() { ++clicks; }

class Picking : public ::testing::Test {
 protected:
  void SetUp() override {
    Ensure_video();
    Reset_runtime();
    Write_test_models();
    Main_object = new Object("Main_store", "main");
    Mouse_state = Mouse_record();
    clicks = 0;
  }
  void TearDown() override { Reset_runtime(); }
  // A pickable square below the root at depth z.
  Param_map& Button(const std::string& name, const std::string& model, double z) {
    Object* object = Drawn_object("S", name, "draw", Draw_obj, model);
    Link_object(Main_object, "S", name);
    Param_map& params = Get_function_params(object, "draw");
    params["POS_Z"].value.number = z;
    params["FUN"].value.callback = Count_click;
    return params;
  }
  void Point_at(double x, double y, double z) {
    int px, py;
    Pixel_of(x, y, z, px, py);
    Mouse_state.x = px;
    Mouse_state.y = py;
  }
};

TEST_F(Picking, NearerModelWinsTheHoverAndEqualDistancesGoToTheFirstQueued) {
  Param_map& back = Button("back", "quad.3DS", 10);
  Param_map& front = Button("front", "quad.3DS", 20);
  Param_map& twin = Button("twin", "quad.3DS", 10);
  Run_frame();
  back["MOUSE_HT"].value.flag = 1;  // left from an earlier pass
  Point_at(0, 0, 20);
  Mouse_state.moved = 1;
  Run_frame();
  EXPECT_EQ(front["MOUSE_HT"].value.flag, 1);
  EXPECT_EQ(back["MOUSE_HT"].value.flag, 0);
  EXPECT_EQ(Mouse_state.moved, 0);
  // Resting pointer: nothing is re-evaluated, the hover stays.
  Run_frame();
  Run_frame();
  EXPECT_EQ(front["MOUSE_HT"].value.flag, 1);

  front.erase("FUN");
  Point_at(0, 0, 10);
  Mouse_state.moved = 1;
  Run_frame();
  EXPECT_EQ(back["MOUSE_HT"].value.flag, 1);
  EXPECT_EQ(twin["MOUSE_HT"].value.flag, 0);
}

TEST_F(Picking, ClickWithoutMotionClearsHoverAndCallsTheCallbackInTheNextFrame) {
  Param_map& back = Button("back", "quad.3DS", 10);
  Param_map& front = Button("front", "quad.3DS", 20);
  Run_frame();
  Point_at(0, 0, 20);
  Mouse_state.moved = 1;
  Run_frame();
  ASSERT_EQ(front["MOUSE_HT"].value.flag, 1);
  Mouse_state.pressed = 1;
  Run_frame();
  EXPECT_EQ(front["MOUSE_HT"].value.flag, 0);
  EXPECT_EQ(back["MOUSE_HT"].value.flag, 0);
  EXPECT_EQ(front["MOUSE_CL"].value.flag, 1);
  EXPECT_EQ(back["MOUSE_CL"].value.flag, 0);
  EXPECT_EQ(clicks, 0);
  Run_frame();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(front["MOUSE_CL"].value.flag, 0);
  Run_frame();
  EXPECT_EQ(clicks, 1);
}

TEST_F(Picking, ClickWithNoCandidateStaysPendingAndOverNothingIsConsumed) {
  Run_frame();
  Point_at(8, 8, 10);
  Mouse_state.pressed = 1;
  Run_frame();
  EXPECT_EQ(Mouse_state.pressed, 1);
  Param_map& button = Button("late", "quad.3DS", 10);
  Run_frame();  // links and applies the queues: still no candidate
  EXPECT_EQ(Mouse_state.pressed, 1);
  Run_frame();  // a candidate now, but the pointer is beside it
  EXPECT_EQ(Mouse_state.pressed, 0);
  EXPECT_EQ(button["MOUSE_CL"].value.flag, 0);
  Point_at(0, 0, 10);
  Mouse_state.pressed = 1;
  Run_frame();
  Run_frame();
  EXPECT_EQ(clicks, 1);
}

TEST_F(Picking, CenteredModelIsPickedWhereItIsDrawn) {
  Param_map& button = Button("b", "offset.3DS", 10);
  button["CENTER"];
  Run_frame();
  Point_at(2, 3, 10);  // where the model is stored, not drawn
  Mouse_state.moved = 1;
  Run_frame();
  EXPECT_EQ(button["MOUSE_HT"].value.flag, 0);
  Point_at(0.2, -0.2, 10);
  Mouse_state.moved = 1;
  Run_frame();
  EXPECT_EQ(button["MOUSE_HT"].value.flag, 1);
}

TEST_F(Picking, FunctionWithoutClickCallbackIsNotACandidate) {
  Object* plain = Drawn_object("S", "plain", "draw", Draw_obj, "quad.3DS");
  Link_object(Main_object, "S", "plain");
  Get_function_params(plain, "draw")["POS_Z"].value.number = 30;
  Param_map& button = Button("b", "quad.3DS", 10);
  Run_frame();
  Point_at(0, 0, 10);
  Mouse_state.moved = 1;
  Run_frame();
  // The nearer plain model does not shield the button.
  EXPECT_EQ(button["MOUSE_HT"].value.flag, 1);
  EXPECT_EQ(Get_function_params(plain, "draw").count("MOUSE_HT"), 0u);
}

}  // namespace
