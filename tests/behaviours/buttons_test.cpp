// Buttons, pieces and transform callbacks on real GL with real picking, frame by frame on the
// test clock: hover growth, the click pulse, click sounds and callbacks, inert pieces,
// "move_forward" and the cursor that follows the pointer.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "behaviour_support.h"
#include "behaviours/buttons.h"
#include "puzzle/catalogue.h"
#include "puzzle/pieces.h"
#include "runtime/params.h"
#include "state/session.h"

namespace {

const double frame_ms = 1000.0 / 60.0;
const double degrees = 180.0 / std::acos(-1.0);

int clicks = 0;
void Count_click() { ++clicks; }
int back_clicks = 0;
void Count_back_click() { ++back_clicks; }

// The 2 x 2 quad at depth z below the root, drawn by `draw` as function `fun_name`;
// without `on_click`, no FUN parameter.
Param_map& Quad(const std::string& name, const char* fun_name, Callback draw, double z,
                Callback on_click) {
  Param_map& params = Start_after(Linked("S", name), fun_name, draw);
  Set_model(params, "quad.3DS");
  params["POS_Z"].value.number = z;
  if (on_click != nullptr) params["FUN"].value.callback = on_click;
  return params;
}
Param_map& Button(const std::string& name, double z, Callback on_click) {
  return Quad(name, "draw", Draw_button, z, on_click);
}
Param_map& Piece(const std::string& name, double z, Callback on_click) {
  return Quad(name, "puzzle", Draw_piece, z, on_click);
}
double Scale(Param_map& params) { return params["SCALE_X"].value.number; }
// The scale a click pulse shows t ms after the click: up by 0.001 per ms to 1.201 at
// 200 ms, then down again.
double Pulse_at(double t) { return 1.201 - std::fabs(200.0 - t) / 1000.0; }
// Hovers the button at depth z from rest up to 1.15 at 60 fps; returns the clock.
double Hover_to_full_size(Param_map& button, double z, double from_ms) {
  Move_to(0, 0, z);
  double ms = from_ms;
  for (int k = 0; k < 20; ++k) Frame_at(ms += frame_ms);
  EXPECT_EQ(Scale(button), 1.15);
  return ms;
}

// Buttons and pieces start with no clicks counted and no puzzle in transition.
class Buttons : public Behaviour {
 protected:
  void SetUp() override {
    Behaviour::SetUp();
    clicks = 0;
    back_clicks = 0;
    transition_lock = 0;
  }
};
using Pieces = Buttons;

// At depth 80 one world unit is about 54 pixels: x 1.075 lies 4 pixels outside the quad at
// rest and 4 pixels inside it at 1.15.
TEST_F(Buttons, HoverWithoutClickCallbackGrowsTo115In225msAt60FpsAndShrinksBack) {
  Param_map& button = Button("b", 80, nullptr);
  Frame_at(0);
  Frame_at(0);
  EXPECT_EQ(Scale(button), 1.0);
  EXPECT_EQ(Red_at_world(1.075, 0, 80), 0);

  Move_to(0, 0, 80);
  const double hover_start = frame_ms;
  Frame_at(hover_start);  // the pick pass of this frame sets the hover
  EXPECT_EQ(button["MOUSE_HT"].value.flag, 1);
  EXPECT_EQ(Scale(button), 1.0);
  for (int k = 1; k <= 20; ++k) {
    SCOPED_TRACE(k);
    Frame_at(hover_start + k * frame_ms);
    const double hovered = k * frame_ms;
    if (hovered < 225.0) {
      EXPECT_NEAR(Scale(button), 1.0 + hovered / 1500.0, 1e-9);
      EXPECT_LT(Scale(button), 1.15);
    } else {
      EXPECT_EQ(Scale(button), 1.15);
    }
    EXPECT_EQ(button["SCALE_Y"].value.number, Scale(button));
  }
  EXPECT_EQ(Red_at_world(1.075, 0, 80), 255);

  Move_to(6, 6, 80);  // off the button
  const double leave = hover_start + 21 * frame_ms;
  Frame_at(leave);
  EXPECT_EQ(button["MOUSE_HT"].value.flag, 0);
  for (int k = 1; k <= 20; ++k) {
    SCOPED_TRACE(k);
    Frame_at(leave + k * frame_ms);
    const double left = k * frame_ms;
    if (left < 225.0) {
      EXPECT_NEAR(Scale(button), 1.15 - left / 1500.0, 1e-9);
      EXPECT_GT(Scale(button), 1.0);
    } else {
      EXPECT_EQ(Scale(button), 1.0);
    }
    EXPECT_EQ(button["SCALE_Y"].value.number, Scale(button));
  }
  EXPECT_EQ(Red_at_world(1.075, 0, 80), 0);
}

TEST_F(Buttons, ClickWithoutMotionPulsesFrom1001EvenWhenGrownAndRunsToItsEndAfterThePointerLeft) {
  Param_map& button = Button("b", 80, Count_click);
  Frame_at(0);
  Frame_at(0);
  double ms = Hover_to_full_size(button, 80, 0);
  Click();
  Frame_at(ms + 10);  // picking: the press without motion clears the hover
  EXPECT_EQ(button["MOUSE_CL"].value.flag, 1);
  EXPECT_EQ(button["MOUSE_HT"].value.flag, 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button.count("cl_time"), 0u);

  const double click = 1000;
  Frame_at(click);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button["cl_time"].value.number, click);
  EXPECT_NEAR(Scale(button), 1.001, 1e-9);
  Move_to(6, 6, 80);  // the shrink must not cut in
  for (int k = 1; k <= 23; ++k) {
    SCOPED_TRACE(k);
    Frame_at(click + k * frame_ms);
    EXPECT_NEAR(Scale(button), Pulse_at(k * frame_ms), 1e-9);
    EXPECT_EQ(button["SCALE_Y"].value.number, Scale(button));
  }
  Frame_at(click + 400);
  EXPECT_NEAR(Scale(button), 1.001, 1e-9);
  EXPECT_EQ(button.count("cl_time"), 1u);
  Frame_at(click + 401);
  EXPECT_EQ(Scale(button), 1.0);
  EXPECT_EQ(button["SCALE_Y"].value.number, 1.0);
  EXPECT_EQ(button.count("cl_time"), 0u);
  Frame_at(2000);
  EXPECT_EQ(Scale(button), 1.0);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Buttons, PressArrivingWithMotionCallsTheCallbackButStartsNoPulse) {
  Param_map& button = Button("b", 80, Count_click);
  Frame_at(0);
  Frame_at(0);
  Move_to(0, 0, 80);
  Click();  // in the same burst of events as the motion
  Frame_at(100);
  EXPECT_EQ(button["MOUSE_CL"].value.flag, 1);
  EXPECT_EQ(button["MOUSE_HT"].value.flag, 1);
  Frame_at(200);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.count("cl_time"), 0u);
  EXPECT_NEAR(Scale(button), 1.0 + 100.0 / 1500.0, 1e-9);  // hover growth only
  Frame_at(300);
  EXPECT_NEAR(Scale(button), 1.0 + 200.0 / 1500.0, 1e-9);
  EXPECT_EQ(clicks, 1);
}

std::vector<int> button_sounds_at_call;
void Note_sounds_at_call() { button_sounds_at_call.push_back(Playing("button.wav")); }

TEST_F(Buttons, ClickPlaysTheButtonSoundThenCallsTheCallbackOncePerClick) {
  Open_silent_sound();
  button_sounds_at_call.clear();
  Button("b", 80, Note_sounds_at_call);
  Frame_at(0);
  Frame_at(0);
  Move_to(0, 0, 80);
  Frame_at(100);
  Click();
  Frame_at(200);
  EXPECT_TRUE(button_sounds_at_call.empty());
  EXPECT_EQ(Playing("button.wav"), 0);
  Frame_at(300);
  EXPECT_EQ(button_sounds_at_call, (std::vector<int>{1}));
  for (double ms = 400; ms <= 1000; ms += 100) Frame_at(ms);
  EXPECT_EQ(button_sounds_at_call, (std::vector<int>{1}));
  EXPECT_EQ(Playing("button.wav"), 1);

  Click();
  Frame_at(1100);
  Frame_at(1200);
  Frame_at(1300);
  EXPECT_EQ(button_sounds_at_call, (std::vector<int>{1, 2}));
  EXPECT_EQ(Playing("button.wav"), 2);
  EXPECT_EQ(Playing("puzzle_up.wav"), 0);
}

TEST_F(Buttons, ButtonWithoutClickCallbackIsPickedAndPulsesSilently) {
  Open_silent_sound();
  Param_map& button = Button("b", 80, nullptr);
  Frame_at(0);
  Frame_at(0);
  Move_to(0, 0, 80);
  Frame_at(100);
  EXPECT_EQ(button["MOUSE_HT"].value.flag, 1);
  Click();
  Frame_at(200);
  EXPECT_EQ(button["MOUSE_CL"].value.flag, 1);
  Frame_at(300);
  EXPECT_EQ(button["cl_time"].value.number, 300.0);
  EXPECT_NEAR(Scale(button), 1.001, 1e-9);
  EXPECT_EQ(Playing("button.wav"), 0);
}

void Erase_own_model_and_callback() {
  ++clicks;
  Remove_eval_function_param(Current_object, "MODEL_1");
  Remove_eval_function_param(Current_object, "FUN");
}

TEST_F(Buttons, CallbackMayEraseTheButtonsOwnModelAndCallback) {
  Param_map& button = Button("b", 80, Erase_own_model_and_callback);
  Frame_at(0);
  Frame_at(0);
  EXPECT_EQ(Red_at_world(0, 0, 80), 255);
  Move_to(0, 0, 80);
  Frame_at(100);
  Click();
  Frame_at(200);
  Frame_at(300);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.count("FUN"), 0u);
  EXPECT_EQ(Red_at_world(0, 0, 80), 0);  // the model is gone in this very frame
  Click();
  Frame_at(400);
  Frame_at(500);
  EXPECT_EQ(clicks, 1);
}

void Half_colour_without_blending() {
  glColor4f(1, 1, 1, 0.5f);
  glDisable(GL_BLEND);
}

TEST_F(Buttons, BlendParameterBlendsTheButtonAndLeavesBlendingOff) {
  Object* row = Linked("S", "row");
  Start_before(row, "half", Half_colour_without_blending);
  Param_map& blended = Start_after(row, "blended_draw", Draw_button);
  Set_model(blended, "quad.3DS");
  blended["POS_X"].value.number = -3;
  blended["POS_Z"].value.number = 80;
  blended["BLEND"];
  Param_map& plain = Start_after(row, "plain_draw", Draw_button);
  Set_model(plain, "quad.3DS");
  plain["POS_X"].value.number = 3;
  plain["POS_Z"].value.number = 80;
  Start_after(row, "probe", Probe);
  Frame_at(0);
  Frame_at(0);
  EXPECT_NEAR(Red_at_world(-3, 0, 80), 128, 2);
  EXPECT_EQ(Red_at_world(3, 0, 80), 255);
  EXPECT_FALSE(Seen()["probe"].blend);
}

TEST_F(Pieces, PieceIsDrawnButTakesNoClickWhileAPuzzleIsInTransition) {
  Open_silent_sound();
  Button("back", 60, Count_back_click);  // behind the piece: gets what the piece does not take
  Param_map& piece = Piece("p", 80, Count_click);
  transition_lock = 1;
  Frame_at(0);
  Frame_at(0);
  Move_to(0, 0, 80);
  Click();
  Frame_at(100);
  Frame_at(200);
  EXPECT_EQ(back_clicks, 1);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(piece.count("MOUSE_CL"), 0u);
  EXPECT_EQ(piece.count("cl_time"), 0u);
  EXPECT_EQ(Scale(piece), 1.0);
  EXPECT_EQ(Playing("puzzle_up.wav"), 0);
  EXPECT_EQ(Red_at_world(0, 0, 80), 255);

  transition_lock = 0;
  Click();
  Frame_at(300);
  Frame_at(400);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(back_clicks, 1);
  EXPECT_EQ(Playing("puzzle_up.wav"), 1);
  EXPECT_EQ(Playing("button.wav"), 1);
}

TEST_F(Pieces, PieceWithoutClickCallbackIsNotACandidate) {
  Param_map& back = Button("back", 60, Count_back_click);
  Param_map& piece = Piece("p", 80, nullptr);
  Frame_at(0);
  Frame_at(0);
  Move_to(0, 0, 80);
  Frame_at(100);
  EXPECT_EQ(back["MOUSE_HT"].value.flag, 1);
  Click();
  Frame_at(200);
  Frame_at(300);
  EXPECT_EQ(back_clicks, 1);
  EXPECT_EQ(piece.count("MOUSE_CL"), 0u);
  EXPECT_EQ(piece.count("MOUSE_HT"), 0u);
}

TEST_F(Pieces, ClickedPiecePulsesEvenWithMotionPlaysThePickUpSoundAndKeepsItsClickTime) {
  Open_silent_sound();
  Param_map& piece = Piece("p", 80, Count_click);
  Frame_at(0);
  Frame_at(0);
  EXPECT_EQ(Scale(piece), 1.0);
  EXPECT_EQ(piece["SCALE_Y"].value.number, 1.0);
  EXPECT_EQ(piece["SCALE_Z"].value.number, 1.0);
  Move_to(0, 0, 80);
  Click();
  Frame_at(100);
  EXPECT_EQ(piece["MOUSE_HT"].value.flag, 1);
  Frame_at(1000);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Playing("puzzle_up.wav"), 1);
  EXPECT_EQ(Playing("button.wav"), 0);
  EXPECT_EQ(piece["cl_time"].value.number, 1000.0);
  EXPECT_NEAR(Scale(piece), 1.001, 1e-9);
  Frame_at(1200);
  EXPECT_NEAR(Scale(piece), 1.201, 1e-9);
  EXPECT_EQ(piece["SCALE_Y"].value.number, Scale(piece));
  Frame_at(1400);
  EXPECT_NEAR(Scale(piece), 1.001, 1e-9);
  Frame_at(1401);
  EXPECT_EQ(Scale(piece), 1.0);
  EXPECT_EQ(piece["SCALE_Y"].value.number, 1.0);
  EXPECT_EQ(piece["cl_time"].value.number, 1000.0);  // stays until the next click
  Frame_at(1600);
  EXPECT_EQ(Scale(piece), 1.0);
  EXPECT_EQ(piece["SCALE_Z"].value.number, 1.0);
  EXPECT_EQ(clicks, 1);
}

using Transforms = Behaviour;

TEST_F(Transforms, MoveForwardReads12At400msAnd14From800msInsideItsOwnMatrix) {
  Object* star = Linked("S", "picture");
  Param_map& grow = Start_before(star, "move_forward", Grow_forward);
  grow["TIME"].value.number = 1000;
  Start_after(star, "probe", Probe);
  Start_after(star, "move_forward_end", Pop_transform);
  Start_after(star, "after_pop", Probe);
  Frame_at(1000);
  const struct {
    double ms, scale;
  } cases[] = {{1000, 1.0}, {1400, 1.2}, {1799, 1.3995}, {1800, 1.4}, {5000, 1.4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ms);
    Frame_at(c.ms);
    EXPECT_NEAR(grow["SCALE_X"].value.number, c.scale, 1e-12);
    EXPECT_EQ(grow["SCALE_Y"].value.number, grow["SCALE_X"].value.number);
    const float* m = Seen()["probe"].matrix;
    EXPECT_FLOAT_EQ(m[0], static_cast<float>(c.scale));
    EXPECT_FLOAT_EQ(m[5], static_cast<float>(c.scale));
    EXPECT_FLOAT_EQ(m[10], 1.0f);
    EXPECT_FLOAT_EQ(m[14], -100.0f);
    const float* after = Seen()["after_pop"].matrix;
    EXPECT_FLOAT_EQ(after[0], 1.0f);
    EXPECT_FLOAT_EQ(after[14], -100.0f);
  }
  EXPECT_EQ(grow["SCALE_X"].value.number, 1.4);
  EXPECT_TRUE(On_list(star->before_list, "move_forward"));  // it never removes itself
}

TEST_F(Transforms, CursorLiesUnderThePointerAtDepth85AndTiltsWithItsDistanceFromTheMiddle) {
  Object* cursor = Linked("A_Int_store", "cursor");
  Start_before(cursor, "follow_mouse", Follow_pointer);
  Start_after(cursor, "probe", Probe);
  Start_after(cursor, "follow_mouse_end", Pop_transform);
  Start_after(cursor, "after_pop", Probe);
  Frame_at(0);
  const int w = Video_ptr->width, h = Video_ptr->height;
  const double hw = View_half_width(Video_ptr, 15.0), hh = View_half_height(Video_ptr, 15.0);
  // Pointer pixel, and where the cursor must be in the plane 15 units in front of the eye.
  const struct {
    int px, py;
    double x, y;
  } cases[] = {{w / 2, h / 2, 0, 0},   {0, h / 2, -hw, 0},         {w, h / 2, hw, 0},
               {w / 2, 0, 0, hh},      {w / 2, h, 0, -hh},         {w / 4, h / 4, -hw / 2, hh / 2}};
  double ms = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.px << "," << c.py);
    Move_to_pixel(c.px, c.py);
    Frame_at(ms += 10);
    const float* m = Seen()["probe"].matrix;
    EXPECT_NEAR(m[12], c.x, 1e-4);
    EXPECT_NEAR(m[13], c.y, 1e-4);
    EXPECT_NEAR(m[14], -15.0, 1e-4);
    // The turn is Rx(a) Rz(b): laid flat by -90 degrees, 2 degrees about x per unit of
    // height and -2.5 degrees about z per unit to the right.
    EXPECT_NEAR(std::atan2(-m[9], m[10]) * degrees, 2.0 * c.y - 90.0, 1e-3);
    EXPECT_NEAR(std::atan2(-m[4], m[0]) * degrees, -2.5 * c.x, 1e-3);
    const float* after = Seen()["after_pop"].matrix;
    EXPECT_FLOAT_EQ(after[12], 0.0f);
    EXPECT_FLOAT_EQ(after[14], -100.0f);
  }
  // At the exact middle the cursor is not moved sideways at all.
  Move_to_pixel(w / 2, h / 2);
  Frame_at(ms += 10);
  EXPECT_EQ(Seen()["probe"].matrix[12], 0.0f);
}

void Blending_off() { glDisable(GL_BLEND); }

TEST_F(Transforms, PieceTransformHoldsUntilItsCloserAndEnableBlendTurnsBlendingOn) {
  Object* piece = Linked("S", "piece");
  Param_map& place = Start_before(piece, "puzz_draw", Push_transform);
  place["POS_X"].value.number = 1;
  place["POS_Y"].value.number = -2;
  place["POS_Z"].value.number = 63;
  Start_before(piece, "blend_off", Blending_off);
  Start_before(piece, "enable_blend", Blend_on);
  Start_after(piece, "probe", Probe);
  Start_after(piece, "puzz_draw_end", Pop_transform);
  Start_after(piece, "after_pop", Probe);
  Frame_at(0);
  Frame_at(0);
  const float* m = Seen()["probe"].matrix;
  EXPECT_FLOAT_EQ(m[12], 1.0f);
  EXPECT_FLOAT_EQ(m[13], -2.0f);
  EXPECT_FLOAT_EQ(m[14], -37.0f);
  EXPECT_TRUE(Seen()["probe"].blend);
  const float* after = Seen()["after_pop"].matrix;
  EXPECT_FLOAT_EQ(after[12], 0.0f);
  EXPECT_FLOAT_EQ(after[13], 0.0f);
  EXPECT_FLOAT_EQ(after[14], -100.0f);
}

}  // namespace
