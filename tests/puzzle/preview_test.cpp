// The picture preview through its real button: opening, fading out, opening again, following
// the next button, and its place in the corner on any screen shape.
#include <GL/gl.h>

#include "app/frame.h"
#include "behaviours/buttons.h"
#include "platform/video.h"
#include "puzzle/preview.h"
#include "runtime/process.h"
#include "support/puzzle_fixture.h"
#include "support/scene.h"
#include "support/support.h"

namespace {

class Preview : public Puzzle_test {
 protected:
  void SetUp() override {
    Puzzle_test::SetUp();
    width = Video_ptr->width;
    height = Video_ptr->height;
  }
  void TearDown() override {
    Use_window(width, height);
    Puzzle_test::TearDown();
  }
  void Use_window(int w, int h) {
    Video_ptr->width = w;
    Video_ptr->height = h;
    Set_projection(Video_ptr, w, h);
  }
  // A button of the game screen: store "Int_butt", a pulsing button model, a click action.
  Param_map& Screen_button(const char* name, const char* fun, const char* model, double x,
                           double y, double z, Callback action) {
    Object* object = new Object("Int_butt", name);
    Add_function(object, fun, Draw_button);
    Start_function_after(object, fun);
    Param_map& params = Get_function_params(object, fun);
    params["MODEL_1"].text = "buttons_int.pak";
    params["MODEL_1"].text2 = model;
    params["ROT_X"].value.number = -90.0;
    params["POS_X"].value.number = x;
    params["POS_Y"].value.number = y;
    params["POS_Z"].value.number = z;
    params["FUN"].value.callback = action;
    params["BLEND"];
    Link_object(Main_object, "Int_butt", name);
    Frame();  // linked; its drawing starts with the next frame
    return params;
  }
  // The preview button in the menu bar, as the game screen places it.
  Param_map& Preview_button() {
    const double w = View_half_width(Video_ptr, 100), h = View_half_height(Video_ptr, 100);
    return Screen_button("bhimg", "bhimg_draw", "view.3DS", 16.5 - w, h - 5.8, 0.6,
                         Toggle_picture_preview);
  }
  void Click(Param_map& button) {
    Click_at(button["POS_X"].value.number, button["POS_Y"].value.number,
             button["POS_Z"].value.number);
  }
  bool Open() { return Is_object_in_global_store("Int_store", "help_im"); }
  Object* Shown() { return Global_env["Int_store"]["help_im"].get(); }
  Param_map& Preview_fun(const char* fun) { return Shown()->functions[fun].params; }
  // Brightness (r + g + b) of the frame's pixel where the preview's middle is drawn (the
  // place it had when last looked at here).
  int Brightness_at_preview() {
    if (Open()) {
      preview_x = Preview_fun("prev_im_draw")["POS_X"].value.number;
      preview_y = Preview_fun("prev_im_draw")["POS_Y"].value.number;
    }
    int px, py;
    Pixel_of(preview_x, preview_y, 0.7, px, py);
    unsigned char rgba[4] = {0, 0, 0, 0};
    glReadPixels(px, Video_ptr->height - 1 - py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return rgba[0] + rgba[1] + rgba[2];
  }
  int width = 0, height = 0;
  double preview_x = 0, preview_y = 0;
};

TEST_F(Preview, OpensFadesOutAndOpensAgainWithAFreshObject) {
  Param_map& button = Preview_button();
  Click(button);
  ASSERT_TRUE(Open());
  EXPECT_EQ(button.count("created"), 1u);
  Object* first = Shown();
  EXPECT_EQ(Preview_fun("prev_im_draw")["MODEL_1"].text, "puzzle0.pak");
  EXPECT_EQ(Preview_fun("prev_im_draw")["MODEL_1"].text2, "prev.3DS");
  EXPECT_EQ(Preview_fun("help_im_draw")["MODEL_1"].text, "main_int.pak");
  EXPECT_EQ(Preview_fun("help_im_draw")["MODEL_1"].text2, "menu_open.3DS");
  // The frame lies behind the picture.
  EXPECT_LT(Preview_fun("help_im_draw")["POS_Z"].value.number,
            Preview_fun("prev_im_draw")["POS_Z"].value.number);
  Frame();
  Frame();
  EXPECT_LT(Preview_fun("long_view")["OPTICALY"].value.number, 0.1);
  Run_for(1100);
  EXPECT_EQ(first->functions.count("long_view"), 0u);  // faded in
  EXPECT_GT(Brightness_at_preview(), 60);

  Click(button);
  EXPECT_EQ(button.count("created"), 0u);
  ASSERT_TRUE(Open());
  EXPECT_EQ(Shown(), first);
  EXPECT_EQ(Preview_fun("long_hide")["OPTICALY"].value.number, 1.0);
  EXPECT_EQ(Preview_fun("long_hide")["TIME"].value.number, now);
  Run_for(900);
  EXPECT_TRUE(Open());
  Run_for(200);
  EXPECT_FALSE(Open());
  EXPECT_LT(Brightness_at_preview(), 10);  // nothing drawn there any more

  Click(button);
  ASSERT_TRUE(Open());
  EXPECT_EQ(button.count("created"), 1u);
  EXPECT_EQ(Shown()->functions.count("long_hide"), 0u);
  Run_for(1100);
  EXPECT_TRUE(Open());
  EXPECT_GT(Brightness_at_preview(), 60);
}

TEST_F(Preview, OpenedAgainWhileFadingOutItReplacesTheOldObjectAndStays) {
  Param_map& button = Preview_button();
  Click(button);
  Run_for(1100);
  Click(button);
  Object* fading = Shown();
  Run_for(300);
  Click(button);
  ASSERT_TRUE(Open());
  EXPECT_NE(Shown(), fading);
  EXPECT_EQ(Shown()->functions.count("long_hide"), 0u);
  // The old fade-out's end does not take the new preview with it.
  Run_for(1500);
  EXPECT_TRUE(Open());
  EXPECT_GT(Brightness_at_preview(), 60);
}

TEST_F(Preview, FollowsTheNextButtonAtOnceWhileThePuzzlesSlide) {
  Show_current_puzzle();
  Run_for(1300);
  Param_map& preview = Preview_button();
  const double w3 = View_half_width(Video_ptr, 99.7), h3 = View_half_height(Video_ptr, 99.7);
  Param_map& next = Screen_button("next_pz", "next_draw", "but_rgh.3DS", w3 - 4.0, 5.0 - h3, 0.3,
                                  Show_next_puzzle);
  Click(preview);
  Run_for(1100);
  Click(next);
  ASSERT_EQ(puzzle_index, 1);
  EXPECT_EQ(Preview_fun("prev_im_draw")["MODEL_1"].text, "puzzle1.pak");
  EXPECT_TRUE(Is_object_in_global_store("puzzle0.pak", "plase"));
  EXPECT_TRUE(Is_object_in_global_store("puzzle1.pak", "plase"));
  // Closed and opened again, it shows the puzzle now on screen.
  Click(preview);
  Run_for(1100);
  Click(preview);
  EXPECT_EQ(Preview_fun("prev_im_draw")["MODEL_1"].text, "puzzle1.pak");
}

// 16.8 units from the left and 20.85 below the top edge at distance 100, however wide the view.
TEST_F(Preview, KeepsItsDistanceFromTheLeftAndTopEdgesInAWiderWindow) {
  const int shapes[][2] = {{1200, 900}, {1600, 900}, {2100, 900}};
  double first_x = 0;
  for (const auto& shape : shapes) {
    SCOPED_TRACE(shape[0]);
    Reset_runtime();
    Main_object = new Object("Main_store", "main");
    Use_window(shape[0], shape[1]);
    Click(Preview_button());
    ASSERT_TRUE(Open());
    const double w = View_half_width(Video_ptr, 100), h = View_half_height(Video_ptr, 100);
    for (const char* fun : {"help_im_draw", "prev_im_draw"}) {
      EXPECT_NEAR(Preview_fun(fun)["POS_X"].value.number - -w, 16.8, 1e-9);
      EXPECT_NEAR(h - Preview_fun(fun)["POS_Y"].value.number, 20.85, 1e-9);
    }
    if (shape[0] == 1200) first_x = Preview_fun("prev_im_draw")["POS_X"].value.number;
    Run_for(1100);
    EXPECT_GT(Brightness_at_preview(), 60);  // on screen
  }
  // A 21:9 view reaches 96.6 units to the left at distance 100, a 4:3 one 55.2.
  EXPECT_NEAR(Preview_fun("prev_im_draw")["POS_X"].value.number, 16.8 - 96.65, 0.02);
  EXPECT_NEAR(first_x, 16.8 - 55.23, 0.02);
}

}  // namespace
