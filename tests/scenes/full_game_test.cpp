// A whole first game through the real event loop and real SDL events: boot, loader, the
// piece-count window, the help window, every piece of a 20-piece puzzle clicked and sent home,
// the finished picture, Ctrl+Q and the orderly shutdown. The same test runs under valgrind's
// memcheck (see tests/CMakeLists.txt).
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "app/frame.h"
#include "platform/platform.h"
#include "puzzle/catalogue.h"
#include "resources/pack.h"
#include "runtime/object.h"
#include "runtime/params.h"
#include "runtime/process.h"
#include "scenes/boot.h"
#include "state/session.h"
#include "state/settings.h"
#include "support/scene.h"
#include "support/support.h"

namespace {

// Simulated time of one frame: the game times everything by its clock, so long frames keep
// the run short under valgrind.
const double Step_ms = 100;
const double Give_up_ms = 240000;

enum Stage {
  Wait_for_count_window,
  Wait_for_help,
  Wait_for_board,
  Pick_piece,
  Wait_for_selection,
  Send_home,
  Wait_for_flight,
  Wait_for_picture,
  Done
};

struct Script_state {
  double now = 0;
  Stage stage = Wait_for_count_window;
  double stage_since = 0;
  int sent = 0;
  int piece_clicks = 0;
  std::string piece;
  bool quit_sent = false;
  bool gave_up = false;
} script;

void Push_quit() {
  for (bool down : {true, false}) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = SDLK_q;
    event.key.keysym.mod = KMOD_LCTRL;
    SDL_PushEvent(&event);
  }
  script.quit_sent = true;
}

Param_map& Piece_params(const std::string& shape, const char* fun) {
  return Global_env[Puzzle_pack(puzzle_index)][shape]->functions[fun].params;
}

// A click on the board's plane at the point a piece's function keeps (where it lies, or home).
void Click_piece_point(const std::string& shape, const char* fun, const char* x, const char* y) {
  Param_map& params = Piece_params(shape, fun);
  Push_click(params[x].value.number, params[y].value.number, 63);
}

// The first piece in shape order that still waits for its click.
std::string Loose_piece() {
  for (auto& [name, object] : Global_env[Puzzle_pack(puzzle_index)])
    if (name.rfind("Shape", 0) == 0 && object->functions["puzzle"].params.count("FUN")) return name;
  return "";
}

void Next(Stage stage) {
  script.stage = stage;
  script.stage_since = script.now;
}

// The player: runs first in every frame of the real loop, advances the clock and pushes the
// events the next frame will see.
void Play_script() {
  script.now += Step_ms;
  Set_test_clock(script.now);
  if (script.quit_sent) return;
  if (script.now > Give_up_ms) {
    script.gave_up = true;
    Push_quit();
    return;
  }
  const double waited = script.now - script.stage_since;
  switch (script.stage) {
    case Wait_for_count_window:
      // The window fades in for a second after the game screen appears.
      if (Is_object_in_global_store("z_Int_store", "m_select") && waited > 1500) {
        Push_click(-8, -2, 68.05);  // the 20-piece card
        Next(Wait_for_help);
      } else if (!Is_object_in_global_store("z_Int_store", "m_select")) {
        script.stage_since = script.now;
      }
      break;
    case Wait_for_help:
      if (Is_object_in_global_store("z_Int_store", "m_help") && waited > 1500) {
        Push_click(6.711, -4.145, 75.05);  // its close button
        Next(Wait_for_board);
      }
      break;
    case Wait_for_board:
      if (!Is_object_in_global_store("z_Int_store", "m_help") && transition_lock == 0) Next(Pick_piece);
      break;
    case Pick_piece: {
      script.piece = Loose_piece();
      if (script.piece.empty()) {
        Next(Wait_for_picture);
        break;
      }
      Click_piece_point(script.piece, "puzz_draw", "POS_X", "POS_Y");
      ++script.piece_clicks;
      Next(Wait_for_selection);
      break;
    }
    case Wait_for_selection:
      // The click may pick another loose piece lying on top; that one goes home then.
      if (!selected_piece.empty()) {
        script.piece = selected_piece;
        Next(Send_home);
      } else if (waited > 1000) {
        Next(Pick_piece);
      }
      break;
    case Send_home: {
      // The next piece may be picked while this one still flies.
      Click_piece_point(script.piece, "puzzle", "CENTER_X", "CENTER_Y");
      ++script.sent;
      Next(Wait_for_flight);
      break;
    }
    case Wait_for_flight:
      if (waited > 2 * Step_ms) Next(Pick_piece);
      break;
    case Wait_for_picture:
      if (Settings.puzzle_done[puzzle_index] && waited > 1000) {
        Next(Done);
        Push_quit();
      }
      break;
    case Done:
      break;
  }
}

TEST(FullGame, FirstGameFromBootToFinishedPictureAndCtrlQ) {
  Ensure_video();
  Reset_runtime();
  Reset_settings();
  const std::string cache = Make_temp_folder();
  setenv("XDG_DATA_HOME", cache.c_str(), 1);
  setenv("ALSOFT_DRIVERS", "null", 1);
  Resource_dir = std::string(SHOREBOUND_BINARY_DIR) + "/Resources/";
  SDL_Event ignored;
  while (SDL_PollEvent(&ignored)) {
  }
  Use_test_clock(0);
  script = Script_state();

  Build_boot_scene(Shut_down);
  Add_function(Main_object, "script", Play_script);
  Main_object->before_list.insert(Main_object->before_list.begin(), "script");
  Run_event_loop();
  const int shown = puzzle_index;
  Shut_down();

  EXPECT_FALSE(script.gave_up) << "stopped at stage " << script.stage << " after " << script.sent << " pieces";
  EXPECT_EQ(script.sent, 20);
  EXPECT_EQ(script.piece_clicks, 20);  // every click on a piece selected one
  // The shutdown saved the finished puzzle and the chosen piece count.
  std::string saved = Read_file(Settings_file_path());
  ASSERT_EQ(saved.size(), 80u);
  Reset_settings();
  Load_settings();
  EXPECT_EQ(Settings.puzzle_done[shown], 1u);
  EXPECT_EQ(Settings.piece_mode, 1u);
  std::printf("played in %.0f ms of game time, %.0f frames\n", script.now, script.now / Step_ms);
  Reset_runtime();
}

}  // namespace
