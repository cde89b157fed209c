// A puzzle on the real packs, driven frame by frame with the test clock and real clicks.
#include "support/puzzle_fixture.h"

#include "app/frame.h"
#include "platform/platform.h"
#include "resources/pack.h"
#include "runtime/process.h"
#include "support/scene.h"
#include "support/support.h"

void Use_default_settings() {
  Reset_settings();
  Settings.record_version = 1;
  Settings.sound_flag = 1;
  Settings.music_flag = 1;
  Settings.first_start = 0;
  Settings.piece_mode = 1;
}

void Puzzle_test::SetUp() {
  Ensure_video();
  Reset_runtime();
  Resource_dir = std::string(SHOREBOUND_BINARY_DIR) + "/Resources/";
  Use_test_clock(0);
  now = 0;
  Use_default_settings();
  puzzle_index = 0;
  transition_lock = 1;
  selected_piece.clear();
  Mouse_state = Mouse_record();
  Main_object = new Object("Main_store", "main");
}

void Puzzle_test::TearDown() { Reset_runtime(); }

void Puzzle_test::Frame(double ms) {
  now += ms;
  Set_test_clock(now);
  Run_loop_step();
}

void Puzzle_test::Run_for(double ms) {
  for (double end = now + ms; now < end;) Frame(step);
}

void Puzzle_test::Click_at(double x, double y, double z) {
  Push_click(x, y, z);
  Frame();
  Frame();
}

void Puzzle_test::Click_drawing(const std::string& store, const std::string& object, const char* fun) {
  Press_drawing(store, object, fun);
  Push_release();
  Frame();
  Frame();
}

void Puzzle_test::Press_drawing(const std::string& store, const std::string& object, const char* fun) {
  Param_map& b = Global_env[store][object]->functions[fun].params;
  Push_press(b["POS_X"].value.number, b["POS_Y"].value.number, b["POS_Z"].value.number);
}

int Board_pieces(const std::string& pack) {
  int count = 0;
  for (int i = 0; i < Shape_count; ++i) count += Is_object_in_global_store(pack, Shape_name(i));
  return count;
}

static Param_map& Params(const std::string& pack, const std::string& shape, const char* fun) {
  return Global_env[pack][shape]->functions[fun].params;
}

double Puzzle_test::Piece_x(const std::string& shape) { return Params(Pack(), shape, "puzz_draw")["POS_X"].value.number; }
double Puzzle_test::Piece_y(const std::string& shape) { return Params(Pack(), shape, "puzz_draw")["POS_Y"].value.number; }
double Puzzle_test::Home_x(const std::string& shape) { return Params(Pack(), shape, "puzzle")["CENTER_X"].value.number; }
double Puzzle_test::Home_y(const std::string& shape) { return Params(Pack(), shape, "puzzle")["CENTER_Y"].value.number; }

void Puzzle_test::Move_piece(const std::string& shape, double x, double y) {
  Params(Pack(), shape, "puzz_draw")["POS_X"].value.number = x;
  Params(Pack(), shape, "puzz_draw")["POS_Y"].value.number = y;
}

bool Puzzle_test::Piece_home(const std::string& shape) {
  return Params(Pack(), shape, "puzz_draw")["POS_Z"].value.number == 62.95;
}
