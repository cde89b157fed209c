// The quit chords, where the settings file lives, and the grown-ups' configuration files. (Every tap of the game tests is a quick
// one, in one burst of events: they lean on the mouse record's quick-tap mend.)
#include <gtest/gtest.h>
#include <string>

#include "platform/config.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "support/files.h"
#include "support/window.h"

namespace {

// Every waiting event through Handle_event, as the frame step does; true on the quit chord.
bool Handle_queue() {
  bool any;
  return Handle_pending_events(any);
}

TEST(Input, QuitChordsAndAForgottenSuper) {
  Ensure_window();
  Handle_queue();
  EXPECT_TRUE(Handle_event(Key_event(SDL_KEYDOWN, SDLK_q, KMOD_LCTRL)));
  EXPECT_TRUE(Handle_event(Key_event(SDL_KEYDOWN, SDLK_q, KMOD_RMETA)));
  EXPECT_FALSE(Handle_event(Key_event(SDL_KEYDOWN, SDLK_q)));
  EXPECT_FALSE(Handle_event(Key_event(SDL_KEYDOWN, SDLK_w, KMOD_LCTRL)));
  // Super down, Q, Super up: Q comes while Super is held.
  for (Uint8 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event super = Key_event(type, SDLK_LSUPER), q = Key_event(type, SDLK_q);
    SDL_PushEvent(&super);
    if (type == SDL_KEYDOWN) SDL_PushEvent(&q);
  }
  EXPECT_TRUE(Handle_queue());
  EXPECT_FALSE(Handle_event(Key_event(SDL_KEYDOWN, SDLK_q)));  // after the release
  // The keyboard went elsewhere while Super was down: its later release is not ours to wait for.
  SDL_Event super_down = Key_event(SDL_KEYDOWN, SDLK_RSUPER), focus{}, q = Key_event(SDL_KEYDOWN, SDLK_q),
            super_up = Key_event(SDL_KEYUP, SDLK_RSUPER);
  focus.type = SDL_ACTIVEEVENT;
  focus.active.state = SDL_APPINPUTFOCUS;
  focus.active.gain = 0;
  for (SDL_Event* event : {&super_down, &focus, &q, &super_up}) SDL_PushEvent(event);
  EXPECT_FALSE(Handle_queue());
}

TEST(Platform, SettingsPathFollowsXdgAndMovesOnlyARegularCacheFileOnce) {
  const std::string home = Use_temp_home();
  const std::string file = "/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg";
  EXPECT_EQ(Settings_file_paths().save, home + "/data" + file);
  setenv("XDG_DATA_HOME", "", 1);
  EXPECT_EQ(Settings_file_paths().save, home + "/.local/share" + file);
  // What stands at the old place (and a data file) -> the data file after, what is left, said.
  const struct { Kind old_kind, data; const char* data_after; Kind old_after; bool told; } cases[] = {
      {Kind::regular, Kind::not_found, "old progress", Kind::not_found, false},
      {Kind::regular, Kind::regular, "newer", Kind::regular, false},  // only once
      {Kind::directory, Kind::not_found, nullptr, Kind::directory, true},
      {Kind::symlink, Kind::not_found, nullptr, Kind::symlink, true},  // relative: would dangle there
      {Kind::fifo, Kind::not_found, nullptr, Kind::fifo, true},        // would block every start
  };
  for (const auto& row : cases) {
    const std::string old = Use_temp_home() + "/cache" + file, path = std::getenv("XDG_DATA_HOME") + file;
    Make_thing(old, row.old_kind, "old progress"), Make_thing(path, row.data, "newer");
    testing::internal::CaptureStderr();
    Settings_file_paths(), Settings_file_paths();  // said once
    const std::string told = testing::internal::GetCapturedStderr();
    const bool regular = std::filesystem::symlink_status(path).type() == Kind::regular;  // no FIFO read
    EXPECT_EQ(regular ? Read_file(path) : "nothing", row.data_after ? row.data_after : "nothing");
    EXPECT_EQ(std::filesystem::symlink_status(old).type(), row.old_after) << int(row.old_kind);
    EXPECT_TRUE(row.told ? One_line_naming(told, old) : told.empty()) << told;
  }
}

TEST(Config, LinesOfBothFilesAndTheSystemsClassroomKeptAndEachBadLineToldAndIgnored) {
  const std::string folder = Make_temp_folder(), system = folder + "/system.conf", user = folder + "/user.conf";
  auto read = [&](const std::string& system_text, const std::string& user_text) {
    Write_file(system, system_text), Write_file(user, user_text);
    testing::internal::CaptureStderr();
    Read_config(system, user);
    return testing::internal::GetCapturedStderr();
  };
  const struct { const char *system, *user; bool classroom; int music, effects; double scan; } good[] = {
      {"# for school\n\n classroom = yes\nmusic-volume=40 # quieter\n", "effects-volume = 0\nscan = 2.5\n", true, 40, 0, 2.5},
      {"classroom = On\n", "classroom = no\n", true, 100, 100, 0},  // not switched off by a user
      {"classroom = 1\nclassroom = false\n", "music-volume = 100\n", false, 100, 100, 0},
      {"music-volume = 30\nscan = 10\n", "classroom = TRUE\nmusic-volume = 80\nscan = 0.5\n", true, 80, 100, 0.5},
      {"", "", false, 100, 100, 0}};
  for (const auto& row : good) {
    EXPECT_EQ(read(row.system, row.user), "") << row.system << "|" << row.user;
    EXPECT_TRUE(Config.classroom == row.classroom && Config.music_volume == row.music &&
                Config.effects_volume == row.effects && Config.scan_seconds == row.scan) << row.system << "|" << row.user;
  }
  for (const std::string bad : {"colour = blue", "classroom = maybe", "music-volume = 101", "music-volume = 4.5",
                                "effects-volume = -1", "effects-volume = 50%", "scan = 0.4", "scan = nan", "scan = 2s", "scan =", "just words"}) {
    const std::string told = read("", "music-volume = 60\n\n" + bad + " # a grown-up's slip\n");
    EXPECT_TRUE(One_line_naming(told, user + ":3:", bad.substr(0, bad.find(' ')))) << told;
    EXPECT_TRUE(!Config.classroom && Config.music_volume == 60 && Config.effects_volume == 100 && Config.scan_seconds == 0) << bad;
  }
  testing::internal::CaptureStderr();
  Read_config(folder + "/missing", folder);  // nothing to say of a missing file; a folder is no file
  EXPECT_TRUE(One_line_naming(testing::internal::GetCapturedStderr(), folder + ": not a regular file"));
  Config = Config_record();
}

}  // namespace
