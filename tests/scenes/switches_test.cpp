// The main menu's switches clicked in a running game (real buttons, real sound through
// OpenAL's silent driver, a real puzzle behind the menu); the links, which act only when held
// for two seconds; and the actions that leave the game, run in a child process with a
// stand-in browser opener.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

#include "app/frame.h"
#include "audio/sound.h"
#include "platform/platform.h"
#include "resources/pack.h"
#include "runtime/process.h"
#include "scenes/boot.h"
#include "scenes/links.h"
#include "scenes/switches.h"
#include "scenes/windows.h"
#include "support/puzzle_fixture.h"
#include "support/scene.h"
#include "support/support.h"

namespace {

// Playing samples of an entry of "music.pak".
int Playing(const std::string& entry) {
  const unsigned char* wav = Get_data_from_data_store("music.pak", entry).pos;
  return static_cast<int>(std::count_if(sample_list.begin(), sample_list.end(),
                                         [&](const sample* s) { return s->wav == wav; }));
}
int Playing_effects() {
  return static_cast<int>(std::count_if(sample_list.begin(), sample_list.end(),
                                         [](const sample* s) { return s->looping == 0; }));
}
sample* Music() {
  for (sample* s : sample_list)
    if (s->looping) return s;
  return nullptr;
}

// A game as the player meets it: music playing, puzzle 0 shown, the main menu open over it.
class Switches : public Puzzle_test {
 protected:
  void SetUp() override {
    Puzzle_test::SetUp();
    setenv("ALSOFT_DRIVERS", "null", 1);
    Sound_ptr = new Sound_system;
    Open_sound_system(Sound_ptr);
    ASSERT_EQ(Sound_ptr->failed, 0);
    Play_music(Sound_ptr, "music.pak", "music.wav");
    Show_current_puzzle();
    Run_for(1300);
    Open_main_menu();
    Run_for(1100);
  }
  void TearDown() override {
    Puzzle_test::TearDown();
    Stop_music();
    Stop_sounds();
    Close_sound_system(Sound_ptr);
    delete Sound_ptr;
    Sound_ptr = nullptr;
  }
  Param_map& Switch(const char* fun) {
    return Global_env["z_Int_store"]["m_menu"]->functions[fun].params;
  }
  const std::string& Mark(const char* fun) { return Switch(fun)["MODEL_1"].text2; }
  void Click_switch(const char* fun) { Click_drawing("z_Int_store", "m_menu", fun); }
  // A sound or music switch in step with the setting and the audio system.
  void Expect_switch(const char* fun, uint8_t flag, unsigned char Sound_system::*on, bool is_on) {
    EXPECT_EQ(flag, is_on ? 1 : 0) << fun;
    EXPECT_EQ(Sound_ptr->*on, is_on ? 1 : 0) << fun;
    EXPECT_EQ(Mark(fun), is_on ? "sound.3DS" : "clean.3DS");
  }
  bool Rebuilding() { return Main_object->functions.count("rebuilt_puzzle") != 0; }
  bool Hiding(const std::string& pack) {
    const auto& list = Global_env[pack]["plase"]->before_list;
    return std::count(list.begin(), list.end(), "obj_hide_start") != 0;
  }
};

TEST_F(Switches, SoundOffCutsTheClickAndKeepsTheMusicAndSoundOnGivesExactlyOneClick) {
  ASSERT_EQ(Mark("bsound_draw"), "sound.3DS");
  ASSERT_NE(Music(), nullptr);

  Click_switch("bsound_draw");
  Expect_switch("bsound_draw", Settings.sound_flag, &Sound_system::sound_on, false);
  EXPECT_EQ(Playing_effects(), 0);  // the button's own click is cut at once
  EXPECT_EQ(Playing("music.wav"), 1);
  EXPECT_EQ(Settings.music_flag, 1);

  Click_switch("bsound_draw");
  Expect_switch("bsound_draw", Settings.sound_flag, &Sound_system::sound_on, true);
  EXPECT_EQ(Playing("button.wav"), 1);
  EXPECT_EQ(Playing_effects(), 1);
  EXPECT_EQ(Playing("music.wav"), 1);
}

TEST_F(Switches, MusicOffLeavesTheEffectsAndMusicOnStartsItFromItsBeginning) {
  ASSERT_EQ(Mark("bmusic_draw"), "sound.3DS");
  // Let the music play on past its first four chunks.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (Music() != nullptr && Music()->pcm_pos <= 6 * Sound_chunk_bytes &&
         std::chrono::steady_clock::now() < give_up) {
    Update_sounds();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_NE(Music(), nullptr);
  ASSERT_GT(Music()->pcm_pos, 6 * Sound_chunk_bytes);

  Click_switch("bmusic_draw");
  Expect_switch("bmusic_draw", Settings.music_flag, &Sound_system::music_on, false);
  EXPECT_EQ(Music(), nullptr);
  EXPECT_EQ(Playing("button.wav"), 1);  // the click plays on
  EXPECT_EQ(Settings.sound_flag, 1);

  Click_switch("bmusic_draw");
  Expect_switch("bmusic_draw", Settings.music_flag, &Sound_system::music_on, true);
  ASSERT_EQ(Playing("music.wav"), 1);
  EXPECT_LE(Music()->pcm_pos, 4 * Sound_chunk_bytes);  // only the first chunks are queued
  ALint state = 0;
  alGetSourcei(Music()->source, AL_SOURCE_STATE, &state);
  EXPECT_EQ(state, AL_PLAYING);
}

TEST_F(Switches, ChosenCountChangesNothingTheOtherRebuildsThePuzzleWithIt) {
  ASSERT_EQ(Mark("b20pc_draw"), "diff.3DS");
  ASSERT_EQ(Mark("b48pc_draw"), "clean.3DS");
  Object* board = Global_env[Pack()]["puzz_plase"].get();

  Click_switch("b20pc_draw");
  EXPECT_EQ(Settings.piece_mode, 1u);
  EXPECT_EQ(Mark("b20pc_draw"), "diff.3DS");
  EXPECT_EQ(Mark("b48pc_draw"), "clean.3DS");
  EXPECT_FALSE(Rebuilding());
  Run_for(1500);
  EXPECT_FALSE(Hiding(Pack()));
  EXPECT_EQ(Global_env[Pack()]["puzz_plase"].get(), board);

  Click_switch("b48pc_draw");
  EXPECT_EQ(Settings.piece_mode, 2u);
  EXPECT_EQ(Mark("b48pc_draw"), "diff.3DS");
  EXPECT_EQ(Mark("b20pc_draw"), "clean.3DS");
  EXPECT_TRUE(Rebuilding());
  Frame();
  Frame();  // the slide-out started in the first frame runs from the second
  EXPECT_TRUE(Hiding(Pack()));
  Run_for(1250 + 3 * 16);
  EXPECT_FALSE(Rebuilding());
  EXPECT_EQ(Board_pieces(Pack()), 48);
  EXPECT_TRUE(Is_object_in_global_store(Pack(), "Shape68"));
  // The menu stays open over the new board.
  EXPECT_FALSE(Has_fun_param(Global_env["z_Int_store"]["m_menu"].get(), "long_hide", "OPTICALY"));

  Run_for(1300);
  Click_switch("b20pc_draw");
  EXPECT_EQ(Settings.piece_mode, 1u);
  EXPECT_EQ(Mark("b20pc_draw"), "diff.3DS");
  EXPECT_EQ(Mark("b48pc_draw"), "clean.3DS");
  Run_for(1250 + 5 * 16);
  EXPECT_FALSE(Rebuilding());
  EXPECT_EQ(Board_pieces(Pack()), 20);
  EXPECT_TRUE(Is_object_in_global_store(Pack(), "Shape1"));
}

TEST_F(Switches, CountSwitchedDuringARebuildIsIgnoredAndTheMarkStays) {
  Click_switch("b48pc_draw");
  Run_for(300);
  ASSERT_TRUE(Has_fun_param(Main_object, "rebuilt_puzzle", "puzzle_del"));
  Click_switch("b20pc_draw");
  EXPECT_EQ(Settings.piece_mode, 2u);
  EXPECT_EQ(Mark("b48pc_draw"), "diff.3DS");
  EXPECT_EQ(Mark("b20pc_draw"), "clean.3DS");
  EXPECT_EQ(std::count(Main_object->after_list.begin(), Main_object->after_list.end(),
                       "rebuilt_puzzle"),
            1);
  EXPECT_TRUE(Main_object->start_after_queue.empty());

  Run_for(1300);
  EXPECT_FALSE(Rebuilding());
  EXPECT_EQ(Board_pieces(Pack()), 48);
  Run_for(1500);  // no second rebuild follows
  EXPECT_FALSE(Hiding(Pack()));
  EXPECT_EQ(Board_pieces(Pack()), 48);
}

TEST_F(Switches, BothCountSwitchesInTheSameOrNextFrameStartOneRebuildAndLoseNoPuzzle) {
  // Both switches' actions before the rebuild step has run even once, as two quick presses
  // that reach two frames in a row would do.
  Object* menu = Global_env["z_Int_store"]["m_menu"].get();
  Current_object = menu;
  menu->cur_params = &Switch("b48pc_draw");
  Choose_48_pieces();
  menu->cur_params = &Switch("b20pc_draw");
  Choose_20_pieces();
  EXPECT_EQ(Settings.piece_mode, 2u);
  EXPECT_EQ(Mark("b48pc_draw"), "diff.3DS");
  EXPECT_EQ(std::count(Main_object->start_after_queue.begin(), Main_object->start_after_queue.end(),
                       "rebuilt_puzzle"),
            1);
  Run_for(4000);
  EXPECT_FALSE(Rebuilding());
  EXPECT_TRUE(Is_object_in_global_store(Pack(), "plase"));  // the puzzle is still on screen
  EXPECT_EQ(Board_pieces(Pack()), 48);
}

// ---- Leaving the game: the exit window's OK, and the links, which act only when held. ----

// Addresses for the links of these tests (a default build has none).
const Link_record Test_links = {"https://home.example.test/shore",
                                "https://birds.example.test/shorebound",
                                "https://faces.example.test/shorebound"};
const std::string Test_site =
    "https://home.example.test/shore?utm_source=software&utm_medium=shorebound_linux"
    "&utm_term=prog&utm_content=1.0.2&utm_campaign=shorebound_linux";

// A stand-in browser opener, first on PATH: records how many arguments it got and the first.
struct Stand_in_opener {
  std::string dir = Make_temp_folder();
  Stand_in_opener() {
    Write_file(dir + "/xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" + dir +
                                      "/opened.part\"\nmv \"" + dir + "/opened.part\" \"" + dir +
                                      "/opened\"\n");
    chmod((dir + "/xdg-open").c_str(), 0755);
    const char* path = std::getenv("PATH");
    setenv("PATH", (dir + ":" + (path != nullptr ? path : "/usr/bin:/bin")).c_str(), 1);
  }
  // What it received within `ms`; empty when it did not run.
  std::string Opened(int ms) const {
    const std::string path = dir + "/opened";
    for (int waited = 0;; waited += 10) {
      struct stat info;
      if (stat(path.c_str(), &info) == 0) return Read_file(path);
      if (waited >= ms) return "";
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
};

// The game's scenes with links, driven with real events through the real loop.
class Link_game : public Puzzle_test {
 protected:
  Link_game() { step = 50; }
  // The loader as the game starts it; its links are live at once.
  void Boot() {
    Reset_runtime();
    Use_test_clock(0);
    now = 0;
    Build_boot_scene(Shut_down);
    Run_for(200);
  }
  void Menu() {
    Open_main_menu();
    Run_for(1100);
  }
  Param_map& Fun(const char* object, const char* fun) {
    return Global_env["z_Int_store"][object]->functions[fun].params;
  }
  // Whether the arch's orange shows on the line from `from` to `to` units off the centre of
  // a button (dx, dy: the direction), in a frame drawn now and not yet swapped.
  bool Orange_off(const char* object, const char* fun, double dx, double dy, double from,
                  double to) {
    Run_frame();
    Param_map& b = Fun(object, fun);
    double x = b["POS_X"].value.number, y = b["POS_Y"].value.number, z = b["POS_Z"].value.number;
    for (double d = from; d <= to; d += 0.02) {
      int px, py, rgb[3];
      Pixel_of(x + dx * d, y + dy * d, z, px, py);
      Rgb_at(px, py, rgb);
      if (rgb[0] >= 220 && rgb[1] >= 100 && rgb[1] <= 180 && rgb[2] <= 60) return true;
    }
    return false;
  }
  // Just above the button's middle: the arch's left end rises from there.
  bool Arch_left(const char* object, const char* fun) { return Orange_off(object, fun, -1, 0.06, 0.5, 5); }
  bool Arch_top(const char* object, const char* fun) { return Orange_off(object, fun, 0, 1, 0.5, 3); }
  ~Link_game() override { Link_addresses = saved; }
  Stand_in_opener opener;
  Link_record saved = Link_addresses;
};

// In one process with the game: links that are clicked, pressed briefly or left while held.
// A link that acts ends this process with status 1, which fails the test.
class Links : public Link_game {
 protected:
  void SetUp() override {
    Link_addresses = Test_links;
    Link_game::SetUp();
    setenv("XDG_DATA_HOME", Make_temp_folder().c_str(), 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
  }
  void TearDown() override {
    Link_game::TearDown();
    if (Sound_ptr == nullptr) return;
    Stop_sounds();
    Close_sound_system(Sound_ptr);
    delete Sound_ptr;
    Sound_ptr = nullptr;
  }
};

TEST_F(Links, AClickOrAShortPressDoesNothingTheArchFillsOnlyWhileHeld) {
  Boot();
  Click_drawing("z_Int_store", "loader", "website_draw");
  Run_for(2100);
  EXPECT_EQ(Playing("button.wav"), 0);  // no click sound, no pulse
  EXPECT_EQ(Fun("loader", "website_draw").count("cl_time"), 0u);
  EXPECT_FALSE(Arch_left("loader", "website_draw"));

  ASSERT_FALSE(Arch_left("loader", "twitter_draw"));
  ASSERT_FALSE(Arch_top("loader", "twitter_draw"));
  Press_drawing("z_Int_store", "loader", "twitter_draw");
  Run_for(400);  // the arch fills from its left end over the top
  EXPECT_TRUE(Arch_left("loader", "twitter_draw"));
  EXPECT_FALSE(Arch_top("loader", "twitter_draw"));
  Run_for(900);
  EXPECT_TRUE(Arch_top("loader", "twitter_draw"));
  Run_for(600);  // let go just before the two seconds
  Push_release();
  Frame();
  EXPECT_FALSE(Arch_left("loader", "twitter_draw"));
  Run_for(1000);
  EXPECT_EQ(Playing("button.wav"), 0);
  EXPECT_EQ(opener.Opened(200), "");
  EXPECT_TRUE(Is_object_in_global_store("z_Int_store", "loader"));
}

TEST_F(Links, MovingOffWhileHoldingCancelsAndComingBackDoesNotResume) {
  Menu();
  ASSERT_FALSE(Arch_left("m_menu", "bvisit_draw"));
  Press_drawing("z_Int_store", "m_menu", "bvisit_draw");
  Run_for(1000);
  ASSERT_TRUE(Arch_left("m_menu", "bvisit_draw"));
  int px, py;
  Pixel_of(-3.99, -5.8, 68.05, px, py);  // below the button, still on the window
  Push_motion(px, py);
  Run_for(1500);
  EXPECT_FALSE(Arch_left("m_menu", "bvisit_draw"));
  Pixel_of(-3.99, -3.328, 68.05, px, py);
  Push_motion(px, py);  // back on it, the button still down
  Run_for(2500);
  EXPECT_FALSE(Arch_left("m_menu", "bvisit_draw"));
  Push_release();
  Frame();
  EXPECT_EQ(opener.Opened(200), "");
  EXPECT_FALSE(Has_fun_param(Global_env["z_Int_store"]["m_menu"].get(), "long_hide", "OPTICALY"));
}

TEST_F(Links, WithoutAddressesNoLinkIsBuiltAndAHoldThereDoesNothing) {
  Link_addresses = Link_record();
  Boot();
  Object* loader = Global_env["z_Int_store"]["loader"].get();
  for (const char* fun : {"website_draw", "twitter_draw", "fbook_draw"})
    EXPECT_EQ(loader->functions.count(fun), 0u) << fun;
  EXPECT_EQ(loader->functions.count("loader_draw"), 1u);
  Push_press(-7.0, -7.1, 80.0);  // where the home page's link would be
  Run_for(2200);
  Push_release();
  Frame();
  EXPECT_TRUE(Is_object_in_global_store("z_Int_store", "loader"));

  Reset_runtime();
  Main_object = new Object("Main_store", "main");
  Menu();
  EXPECT_EQ(Global_env["z_Int_store"]["m_menu"]->functions.count("bvisit_draw"), 0u);
  EXPECT_EQ(Global_env["z_Int_store"]["m_menu"]->functions.count("babout_draw"), 1u);
  Push_press(-3.99, -3.328, 68.05);
  Run_for(2200);
  Push_release();
  Frame();
  EXPECT_FALSE(Has_fun_param(Global_env["z_Int_store"]["m_menu"].get(), "long_hide", "OPTICALY"));
  EXPECT_EQ(opener.Opened(200), "");
}

// Leaving runs in a child process, as the game would. The parent opens no window: a forked
// child could not draw with the parent's GL context (its renderer's threads stay behind).
class LeaveDeathTest : public Link_game {
 protected:
  void SetUp() override {}
  void TearDown() override {}
  // In the child: the settings loaded and changed, so that the save can be seen.
  void Change_settings() {
    Load_settings();
    Settings.music_flag = 0;
    Settings.piece_mode = 2;
    Settings.puzzle_done[7] = 1;
  }
  // In the child: a hold on a link, noting that the game still runs after 1995 ms of it.
  void Hold_to_leave(const char* object, const char* fun) {
    Press_drawing("z_Int_store", object, fun);
    Frame(5);
    Frame(5);  // the pick pass takes the press, the link starts the hold
    Run_for(1950);
    step = 5;
    Run_for(45);
    Write_file(cache + "/still_here", "");
    Run_for(100);
  }
  // Plays in a child with a fresh cache folder; it must end with status 1, save the settings
  // as they were set before leaving, and have opened `address` (empty: nothing).
  void Leave(const std::function<void()>& play, const std::string& address) {
    cache = Make_temp_folder();
    setenv("XDG_DATA_HOME", cache.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    unlink((opener.dir + "/opened").c_str());
    EXPECT_EXIT(
        {
          Shut_down_game = Shut_down;  // what the program gives the boot scene
          play();
          std::exit(0);
        },
        ::testing::ExitedWithCode(1), "");
    const std::string bytes =
        Read_file(cache + "/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg");
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[4 + 31], 0);  // music
    EXPECT_EQ(bytes[4 + 29], 1);  // sound
    EXPECT_EQ(bytes[4 + 32], 2);  // 48 pieces
    EXPECT_EQ(bytes[4 + 36 + 7 * 4], 1);
    EXPECT_EQ(opener.Opened(address.empty() ? 200 : 5000), address.empty() ? "" : "1|" + address);
  }
  std::string cache;
};

TEST_F(LeaveDeathTest, QuitSavesTheSettingsAndEndsWithStatus1) {
  Leave(
      [&] {
        Resource_dir = std::string(SHOREBOUND_BINARY_DIR) + "/Resources/";
        Sound_ptr = new Sound_system;
        Open_sound_system(Sound_ptr);
        Play_music(Sound_ptr, "music.pak", "music.wav");
        Main_object = new Object("Main_store", "main");
        Change_settings();
        Quit_program();
      },
      "");
}

TEST_F(LeaveDeathTest, AHoldOfTwoSecondsOpensTheLinksAddressThenSavesAndEndsWithStatus1) {
  Link_addresses = Test_links;
  EXPECT_EQ(Site_address(), Test_site);
  struct Link {
    const char* object;
    const char* fun;
    std::string address;
  } links[] = {{"loader", "website_draw", Test_site},
               {"loader", "twitter_draw", Test_links.twitter},
               {"loader", "fbook_draw", Test_links.facebook},
               {"m_menu", "bvisit_draw", Test_site}};
  for (const Link& link : links) {
    Leave(
        [&] {
          Puzzle_test::SetUp();
          Change_settings();
          if (std::string(link.object) == "loader")
            Boot();
          else
            Menu();
          Hold_to_leave(link.object, link.fun);
        },
        link.address);
    EXPECT_EQ(access((cache + "/still_here").c_str(), F_OK), 0)
        << link.fun << " acted before two seconds";
  }
}

}  // namespace
