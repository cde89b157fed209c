// The scenes alone on the real packs and real GL, stepped on the test clock: the loader's
// timing, and every button of the game screen and its windows on screen at every shape.
#include <gtest/gtest.h>

#include "audio/sound.h"
#include "resources/pack.h"
#include "runtime/params.h"
#include "scenes/boot.h"
#include "scenes/game_screen.h"
#include "scenes/links.h"
#include "scenes/windows.h"
#include "state/session.h"
#include "support/files.h"
#include "support/frames.h"

namespace {

class Scenes : public ::testing::Test {
 protected:
  void SetUp() override {
    Start_scene();
    Reset_game_state();
    Resource_dir = SHOREBOUND_BINARY_DIR "/Resources/";
    Use_temp_home();
  }
  void TearDown() override {
    Destroy_all_objects();
    End_sound_system();
  }
};

TEST_F(Scenes, TheLoaderFadesInStaysFiveSecondsAndGivesWayToTheGameScreenASecondLater) {
  Destroy_all_objects();
  Build_boot_scene(nullptr);
  Object* loader = Global_env["z_Int_store"]["loader"].get();
  Step(0), Step(625);
  EXPECT_EQ(Get_function_params(loader, "long_view")["OPTICALY"].value.number, 0.5);
  double hiding = 0;
  while (!Is_object_in_global_store("A_Int_store", "fon") && test_now < 10000) {
    Step();
    if (hiding == 0 && Has_fun_param(loader, "long_hide", "OPTICALY")) hiding = test_now;
  }
  EXPECT_GT(hiding, 5000);
  EXPECT_LE(hiding, 5000 + 16);
  EXPECT_GT(test_now, hiding + 1000);
  EXPECT_LE(test_now, hiding + 1000 + 16);
}

TEST_F(Scenes, EveryButtonOfTheGameScreenAndItsWindowsLiesOnScreenAtEveryShape) {
  Link_addresses.home = "https://home.example.test/";  // the main menu shows its link
  for (const auto& [width, height] : {std::pair<int, int>{1024, 768}, {1440, 900}, {1920, 1080}, {2560, 1080}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    Video_ptr->width = width, Video_ptr->height = height;
    Set_projection(Video_ptr, width, height);
    Destroy_all_objects();
    Create_main_object();
    Start_sound_system();
    Build_game_screen();
    Open_help_window(), Open_exit_window(), Open_break_window(), Open_main_menu();
    Current_object = Global_env["z_Int_store"]["m_menu"].get();
    Open_about_window();
    Current_object = Global_env["z_Int_store"]["m_help"].get();
    Open_break_all_window();
    int buttons = 0;
    for (const char* store : {"Int_butt", "z_Int_store"})
      for (auto& [name, object] : Global_env[store])
        for (auto& [fun, function] : object->functions) {
          Param_map& at = function.params;
          if (at.count("FUN") == 0 || fun == "m_block_draw") continue;
          int px, py;
          Pixel_of(at["POS_X"].value.number, at["POS_Y"].value.number, at["POS_Z"].value.number, px, py);
          EXPECT_TRUE(px >= 0 && py >= 0 && px < width && py < height) << name << "/" << fun << " at " << px << "," << py;
          ++buttons;
        }
    EXPECT_EQ(buttons, 7 + 2 + 1 + 2 + 2 + 8 + 2 + 1);
    End_sound_system();
  }
  Video_ptr->width = 640, Video_ptr->height = 400;
  Set_projection(Video_ptr, 640, 400);
}

}  // namespace
