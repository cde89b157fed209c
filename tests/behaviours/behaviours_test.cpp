// Buttons, fades and the link hold on real GL, driven by real pointer events on the test clock.
#include <gtest/gtest.h>
#include "behaviours/buttons.h"
#include "behaviours/fades.h"
#include "behaviours/hold.h"
#include "support/frames.h"
#include "support/packs.h"

namespace {

int calls = 0;
void Count() { ++calls; }
int granted = 0;  // fade-outs that Start_hide started
void Hide_every_frame() { granted += Start_hide(); }
class Behaviours : public ::testing::Test {
 protected:
  void SetUp() override {
    Start_scene();
    Use_temp_resources();
    Write_test_models();
    calls = granted = 0;
    Pixel_of(0, 0, 0, px, py);
  }
  // The 2 x 2 square at x drawn by `draw`, its clicks counted; its object.
  Object* Square(const std::string& name, double x, Callback draw) {
    Param_map& params = Drawn(name, "draw", draw, "quad.3DS");
    params["POS_X"].value.number = x;
    params["FUN"].value.callback = Count;
    return Global_env["test"][name].get();
  }
  int px = 0, py = 0;  // the pixel of the world's origin
};

TEST_F(Behaviours, ButtonGrowsUnderThePointerAndPulsesOnceForEveryClick) {
  Param_map& button = Get_function_params(Square("b", 0, Draw_button), "draw");
  Step();
  Push_motion(px, py);
  Step();
  Step(48);
  EXPECT_NEAR(button["SCALE_X"].value.number, 1.0 + 48 / 1500.0, 1e-9);
  Run_for(300);
  EXPECT_EQ(button["SCALE_X"].value.number, 1.15);  // and no further
  for (int click = 1; click <= 2; ++click) {
    Push_button(true, px, py);
    Push_button(false, px, py);
    Step();
    Step();  // the click, picked in the frame before, starts the pulse
    Step(200);
    EXPECT_NEAR(button["SCALE_X"].value.number, 1.201, 1e-9);
    Run_for(600);
    EXPECT_EQ(button["SCALE_X"].value.number, 1.0);
    EXPECT_EQ(calls, click);
  }
}

TEST_F(Behaviours, FadesInOverASecondOrTheNextOneAndHidesOnlyOnce) {
  for (auto fade : {std::make_pair(-4.0, Fade_in), std::make_pair(4.0, Fade_in_delayed)}) {
    Object* window = Square(std::to_string(fade.first), fade.first, Draw_obj);
    Add_fade_in(window, fade.second);
    Add_started_function(window, "long_view_end", Fade_close, After_list);
  }
  Add_started_function(Square("gone", 0, Draw_obj), "hide", Hide_every_frame, Before_list);
  Step(0);
  Step(250);  // the first call of Start_hide
  EXPECT_NEAR(Red_at(-4, 0, 0), 64, 3);
  Step(749);
  EXPECT_NEAR(Red_at(-4, 0, 0) + Red_at(4, 0, 0), 255, 1);
  EXPECT_NEAR(Red_at(0, 0, 0), 64, 3);  // a quarter of a second of its fade-out left
  Step(252);
  EXPECT_FALSE(Is_object_in_global_store("test", "gone"));
  Step(249);
  EXPECT_NEAR(Red_at(4, 0, 0), 128, 3);
  Run_for(600);
  EXPECT_EQ(Red_at(-4, 0, 0) + Red_at(4, 0, 0), 510);
  EXPECT_EQ(granted, 1);
}

TEST_F(Behaviours, LinkActsAfterATwoSecondHoldOnly) {
  Square("link", 0, Draw_link);
  for (int way = 0; way < 4; ++way) {  // held, let go, moved off, a plain click
    Push_press_at(0, 0, 0, way == 3);
    Run_for(1900);
    if (way == 1) Push_button(false, px, py);
    if (way == 2) Push_motion(px + 200, py);
    Run_for(1000);
    EXPECT_EQ(calls, 1) << way;
    Push_button(false, px, py);
    Step();
  }
}

}  // namespace
