// The boot scene and the game screen: the loader hands over after six seconds, the screen's
// furniture keeps to the corners on every screen shape.
#include "app/frame.h"
#include "audio/sound.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "render/draw.h"
#include "resources/pack.h"
#include "runtime/process.h"
#include "scenes/boot.h"
#include "scenes/game_screen.h"
#include "support/puzzle_fixture.h"
#include "support/scene.h"
#include "support/support.h"

namespace {

class Screen : public Puzzle_test {
 protected:
  void SetUp() override {
    Puzzle_test::SetUp();
    setenv("XDG_DATA_HOME", Make_temp_folder().c_str(), 1);
    Reset_settings();
  }
  void TearDown() override {
    Set_projection(Video_ptr, 1440, 900);
    Video_ptr->width = 1440;
    Video_ptr->height = 900;
    Puzzle_test::TearDown();
  }
};

TEST_F(Screen, BootShowsCursorAndLoaderAndTheGameScreenNoEarlierThanSixSeconds) {
  Reset_runtime();
  Use_test_clock(0);
  now = 0;
  setenv("ALSOFT_DRIVERS", "null", 1);
  Build_boot_scene(Shut_down);
  EXPECT_TRUE(Is_object_in_global_store("A_Int_store", "cursor"));
  EXPECT_TRUE(Is_object_in_global_store("z_Int_store", "loader"));
  double first_screen = -1;
  while (now < 8000 && first_screen < 0) {
    Frame();
    if (Is_object_in_global_store("A_Int_store", "fon")) first_screen = now;
  }
  EXPECT_GE(first_screen, 6000);
  EXPECT_LT(first_screen, 6100);
  // The loader ends in the frame that builds the screen; the piece-count window opens.
  EXPECT_FALSE(Is_object_in_global_store("z_Int_store", "loader"));
  EXPECT_TRUE(Is_object_in_global_store("z_Int_store", "m_select"));
  EXPECT_EQ(Settings.record_version, 1u);  // the settings were loaded
  // Every picture was decoded while the loader showed.
  EXPECT_EQ(Global_data["puzzle9.pak"].count("PUZZ_V2.JPG_tex"), 1u);
  Shut_down();  // stops the music and closes the sound system
}

TEST_F(Screen, LoaderLinkTitleIsNotAClickTarget) {
  Reset_runtime();
  Use_test_clock(0);
  now = 0;
  Build_boot_scene(Shut_down);
  Run_for(1500);
  Click_at(0, 0, 80);  // the middle of the title picture
  EXPECT_TRUE(Is_object_in_global_store("z_Int_store", "loader"));
  EXPECT_EQ(Global_env["z_Int_store"]["loader"]->functions["loader_draw"].params.count("MOUSE_CL"), 0u);
}

TEST_F(Screen, FurnitureKeepsToTheCornersOnEveryScreenShape) {
  struct Shape { int w, h; } shapes[] = {{1200, 900}, {1440, 900}, {1440, 810}, {1440, 617}};
  for (const Shape& s : shapes) {
    Reset_runtime();
    Main_object = new Object("Main_store", "main");
    Video_ptr->width = s.w;
    Video_ptr->height = s.h;
    Set_projection(Video_ptr, s.w, s.h);
    Build_game_screen();
    auto centre = [&](const char* name, const char* fun, int& px, int& py) {
      Param_map& p = Global_env["Int_butt"][name]->functions[fun].params;
      Pixel_of(p["POS_X"].value.number, p["POS_Y"].value.number, p["POS_Z"].value.number, px, py);
    };
    // Pixels per unit at the corner buttons (z 0.3) and at the menu row (z 0.6).
    const double corner_unit = s.h / 2.0 / (99.7 * 0.4142), row_unit = s.h / 2.0 / (99.4 * 0.4142);
    int x, y;
    centre("bclose", "bclose_draw", x, y);
    EXPECT_NEAR(x, s.w - 4 * corner_unit, 2) << s.w << "x" << s.h << ": 4 units in from the corner";
    EXPECT_NEAR(y, 4 * corner_unit, 2);
    centre("prev_pz", "prev_draw", x, y);
    EXPECT_NEAR(x, 4 * corner_unit, 2);
    EXPECT_NEAR(y, s.h - 5 * corner_unit, 2);
    centre("next_pz", "next_draw", x, y);
    EXPECT_NEAR(x, s.w - 4 * corner_unit, 2);
    // The menu row starts at the left edge whatever the width: its first button (7.5 units
    // wide) stays whole on the screen and close to the edge.
    centre("bmenu", "bmenu_draw", x, y);
    EXPECT_GE(x - 3.75 * row_unit, 0) << s.w << "x" << s.h;
    EXPECT_LE(x - 3.75 * row_unit, 4 * row_unit);
    EXPECT_NEAR(y, 5.8 * row_unit, 5);
    centre("bbreak", "bbreak_draw", x, y);
    EXPECT_LT(x, s.w / 2) << "the row stays in the left half";
  }
}

TEST_F(Screen, SettingsFromTheFileDecideTheSoundSwitches) {
  Reset_runtime();
  Main_object = new Object("Main_store", "main");
  setenv("ALSOFT_DRIVERS", "null", 1);
  Sound_ptr = new Sound_system();
  Open_sound_system(Sound_ptr);
  Settings_record stored{};
  stored.record_version = 1;
  stored.sound_flag = 1;
  stored.music_flag = 0;
  stored.piece_mode = 2;
  std::string bytes(reinterpret_cast<const char*>(&stored), 4);
  bytes += std::string(reinterpret_cast<const char*>(&stored), sizeof stored);
  Write_file(Settings_file_path(), bytes);
  Build_game_screen();
  EXPECT_EQ(Sound_ptr->music_on, 0);
  EXPECT_EQ(Sound_ptr->sound_on, 1);
  EXPECT_TRUE(sample_list.empty());  // no music
  EXPECT_EQ(Settings.piece_mode, 2u);
  EXPECT_EQ(Settings.first_start, 0);
  Close_sound_system(Sound_ptr);
  delete Sound_ptr;
  Sound_ptr = nullptr;
}

}  // namespace
