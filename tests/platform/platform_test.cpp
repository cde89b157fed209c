// The quit chords and where the settings file lives. (Every tap of the game tests is a quick
// one, in one burst of events: they lean on the mouse record's quick-tap mend.)
#include <gtest/gtest.h>
#include <string>

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

}  // namespace
