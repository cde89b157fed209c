// The main menu's switches clicked in a running game (real buttons, real sound through
// OpenAL's silent driver, a real puzzle behind the menu), and the actions that leave the game,
// run in a child process with a stand-in browser opener.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "audio/sound.h"
#include "resources/pack.h"
#include "runtime/process.h"
#include "scenes/switches.h"
#include "scenes/windows.h"
#include "shell/frame.h"
#include "shell/platform.h"
#include "support/puzzle_fixture.h"
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

// ---- Leaving the game: each action runs in a child process, as the game would run it. ----

// The value of a cache variable of this build (the link addresses).
std::string Cache_value(const std::string& name) {
  std::ifstream cache(std::string(SHOREBOUND_BINARY_DIR) + "/CMakeCache.txt");
  const std::string key = name + ":STRING=";
  for (std::string line; std::getline(cache, line);)
    if (line.compare(0, key.size(), key) == 0) return line.substr(key.size());
  return "";
}

class LeaveDeathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    opener_dir = Make_temp_folder();
    // A stand-in browser opener: records how many arguments it got and the first one.
    Write_file(opener_dir + "/xdg-open",
               "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" + opener_dir + "/opened.part\"\n"
               "mv \"" + opener_dir + "/opened.part\" \"" + opener_dir + "/opened\"\n");
    chmod((opener_dir + "/xdg-open").c_str(), 0755);
  }
  // In the child: settings loaded and changed, music playing, then the action.
  void Run_in_game(void (*leave)()) {
    setenv("XDG_DATA_HOME", cache.c_str(), 1);
    const char* path = std::getenv("PATH");
    setenv("PATH", (opener_dir + ":" + (path != nullptr ? path : "/usr/bin:/bin")).c_str(), 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    Resource_dir = std::string(SHOREBOUND_BINARY_DIR) + "/Resources/";
    Sound_ptr = new Sound_system;
    Open_sound_system(Sound_ptr);
    Play_music(Sound_ptr, "music.pak", "music.wav");
    Main_object = new Object("Main_store", "main");
    Load_settings();
    Settings.music_flag = 0;
    Settings.piece_mode = 2;
    Settings.puzzle_done[7] = 1;
    leave();
  }
  // Runs the action in a child with a fresh cache folder; it must end with status 1, leave the
  // settings as they were set before leaving, and have opened `address` (empty: nothing).
  void Leave(void (*leave)(), const std::string& address) {
    cache = Make_temp_folder();
    unlink((opener_dir + "/opened").c_str());
    EXPECT_EXIT(Run_in_game(leave), ::testing::ExitedWithCode(1), "");
    const std::string bytes =
        Read_file(cache + "/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg");
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[4 + 31], 0);  // music
    EXPECT_EQ(bytes[4 + 29], 1);  // sound
    EXPECT_EQ(bytes[4 + 32], 2);  // 48 pieces
    EXPECT_EQ(bytes[4 + 36 + 7 * 4], 1);
    EXPECT_EQ(Opened(address.empty() ? 200 : 5000), address.empty() ? "" : "1|" + address);
  }
  // What the stand-in opener received within `ms`; empty when it did not run.
  std::string Opened(int ms) {
    const std::string path = opener_dir + "/opened";
    for (int waited = 0; waited < ms; waited += 10) {
      struct stat info;
      if (stat(path.c_str(), &info) == 0) return Read_file(path);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
  }
  std::string cache, opener_dir;
};

TEST_F(LeaveDeathTest, QuitSavesTheSettingsAndEndsWithStatus1) { Leave(Quit_program, ""); }

TEST_F(LeaveDeathTest, SiteLinkOpensTheHomePageWithItsQueryThenSavesAndEndsWithStatus1) {
  const std::string home = Cache_value("SHOREBOUND_HOME_URL");
  ASSERT_FALSE(home.empty());
  const std::string expected = home +
                               "?utm_source=software&utm_medium=shorebound_mac&utm_term=prog"
                               "&utm_content=1.0.2&utm_campaign=shorebound_mac";
  EXPECT_EQ(Site_address(), expected);
  Leave(Open_site, expected);
}

TEST_F(LeaveDeathTest, TwitterAndFacebookOpenTheirPlainAddressesThenSaveAndEndWithStatus1) {
  const std::string twitter = Cache_value("SHOREBOUND_TWITTER_URL");
  const std::string facebook = Cache_value("SHOREBOUND_FACEBOOK_URL");
  ASSERT_FALSE(twitter.empty());
  ASSERT_FALSE(facebook.empty());
  Leave(Open_twitter, twitter);
  Leave(Open_facebook, facebook);
}

}  // namespace
