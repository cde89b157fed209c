// The whole game on the real packs, stepped through the event loop's own step on the test
// clock and played through real SDL events, with a temporary home and silent sound. Every
// tap and drag goes to the window pixel that shows its world point and is refused unless the
// intended drawing wins the pick there (the pointer moves there first, as a hand does).
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/frame.h"
#include "audio/sound.h"
#include "platform/input.h"
#include "resources/depths.h"
#include "resources/names.h"
#include "resources/pack.h"
#include "runtime/params.h"
#include "runtime/process.h"
#include "scenes/boot.h"
#include "state/session.h"
#include "state/settings.h"
#include "support/files.h"
#include "support/pixels.h"

// A drawing function of an object: what a tap is meant for.
struct Target {
  std::string store, object, fun;
};

class Game_test : public ::testing::Test {
 protected:
  void SetUp() override {
    Ensure_window();
    Frame_interval_ms = 0;  // frames come as fast as the test steps them
    Destroy_all_objects();
    Reset_game_state();
    Resource_dir = SHOREBOUND_BINARY_DIR "/Resources/";
    if (home.empty()) home = Use_temp_home();
    Use_test_clock(0);
    Forget_input();
  }
  void TearDown() override {
    Destroy_all_objects();
    End_sound_system();
  }
  // The boot scene, run until the piece-count window stands (the loader takes 6.25 s), and
  // optionally the card of a piece mode tapped and the puzzle slid in.
  void Boot(uint32_t piece_mode = 0) {
    Build_boot_scene(Shut_down);
    Run_for(7500);
    if (piece_mode == 0) return;
    Tap_drawing({"z_Int_store", "m_select", piece_mode == 1 ? "m_low_draw" : "m_heigh_draw"});
    Run_for(2000);
    ASSERT_TRUE(Is_object_in_global_store(Puzzle_pack(puzzle_index), "puzz_plase") ||
                Is_object_in_global_store(Puzzle_pack(puzzle_index), "puzz_final"))
        << "no puzzle";
  }
  void Frame(double ms) {
    test_now += ms;
    Run_loop_step();
    Listen();
  }
  // Counts the sounds that started in the frame, by entry name (the playing samples carry
  // their start numbers; even a short effect plays for longer than a frame).
  void Listen() {
    for (const sample* s : sample_list) {
      if (s->serial <= last_serial) continue;
      last_serial = s->serial;
      for (const auto& [name, entry] : Global_data[Sound_pack])
        if (entry.pos == s->wav) ++started[name];
    }
  }
  void Frame() { Frame(step); }
  void Run_for(double ms) {
    for (double end = test_now + ms; test_now < end;) Frame();
  }
  static Param_map& Params(const Target& target) {
    return Global_env[target.store][target.object]->functions[target.fun].params;
  }
  // Moves the pointer to the window pixel of the world point (it must lie in the window) and
  // runs a frame: the pick pass gives the hover flag to the drawing that wins there alone.
  void Move_to(double x, double y, double z) {
    Pixel_of(x, y, z, px, py);
    ASSERT_TRUE(px >= 0 && py >= 0 && px < Video_ptr->width && py < Video_ptr->height)
        << "(" << x << ", " << y << ", " << z << ") lies outside the window, at pixel " << px << "," << py;
    Push_motion(px, py);
    Frame();
  }
  // Fails unless `target` wins the pick at the world point.
  void Point_at(double x, double y, double z, const Target& target) {
    ASSERT_TRUE(Is_object_in_global_store(target.store, target.object)) << target.object << " is not there";
    Params(target)["MOUSE_HT"].value.flag = 0;
    ASSERT_NO_FATAL_FAILURE(Move_to(x, y, z));
    ASSERT_EQ(Params(target)["MOUSE_HT"].value.flag, 1)
        << "something else wins the pick over " << target.object << "/" << target.fun;
  }
  // A quick tap (press and release in one burst) where the pointer is; two frames take it and
  // run what it clicked.
  void Tap_here() {
    Push_button(true, px, py);
    Push_button(false, px, py);
    Frame();
    Frame();
  }
  void Tap(double x, double y, double z, const Target& target) {
    ASSERT_NO_FATAL_FAILURE(Point_at(x, y, z, target));
    Tap_here();
  }
  // A tap where a drawing function draws its model (a button: its POS_X, POS_Y, POS_Z).
  void Tap_drawing(const Target& target) {
    ASSERT_TRUE(Is_object_in_global_store(target.store, target.object)) << target.object << " is not there to tap";
    Param_map& at = Params(target);
    Tap(at["POS_X"].value.number, at["POS_Y"].value.number, at["POS_Z"].value.number, target);
  }
  // Presses on the loose piece `shape` where it lies, moves the pointer over `ms` in 50 ms
  // steps to the world point (x, y) of the pieces' plane while the button stays down, and
  // lets go there.
  void Drag(const std::string& shape, double x, double y, double ms = 250) {
    Param_map& at = Piece(shape, "puzz_draw");
    ASSERT_NO_FATAL_FAILURE(Point_at(at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece, Piece_at(shape)));
    const int from_x = px, from_y = py;
    int to_x, to_y;
    Pixel_of(x, y, Depth_piece, to_x, to_y);
    Push_button(true, px, py);
    Frame();
    const int steps = static_cast<int>(ms / 50);
    for (int i = 1; i <= steps; ++i) {
      px = from_x + (to_x - from_x) * i / steps;
      py = from_y + (to_y - from_y) * i / steps;
      Push_motion(px, py);
      Frame(50);
    }
    Push_button(false, px, py);
    Run_for(200);
  }
  // The frame as a child sees it, with the pointer moved out of the way to the foot of the
  // screen: drawn once more without the buffer swap, and read back.
  std::vector<unsigned char> Look() {
    Move_to(0, -40, 0);
    Run_frame();
    return Read_frame();
  }
  std::string Settings_file() const {
    return home + "/data/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg";
  }
  // The settings file of an earlier game with this piece mode and these puzzles done (no help
  // window after the piece count).
  void Played_before(uint32_t piece_mode = 1, const std::vector<int>& done = {}) {
    Settings_record record{};
    record.record_version = record.sound_flag = record.music_flag = 1;
    record.piece_mode = piece_mode;
    for (int puzzle : done) record.puzzle_done[puzzle] = 1;
    std::string bytes(4 + sizeof record, '\0');
    bytes[0] = 1;
    std::memcpy(&bytes[4], &record, sizeof record);
    std::filesystem::create_directories(std::filesystem::path(Settings_file()).parent_path());
    Write_file(Settings_file(), bytes);
  }
  // Ctrl+Q, pressed and let go.
  static void Push_ctrl_q() {
    for (Uint8 type : {SDL_KEYDOWN, SDL_KEYUP}) {
      SDL_Event event{};
      event.type = type;
      event.key.keysym.sym = SDLK_q;
      event.key.keysym.mod = KMOD_LCTRL;
      SDL_PushEvent(&event);
    }
  }
  // The pieces of the shown puzzle: their functions' parameters, those still loose, and the
  // two taps of a child that sends one home (the piece, then its lit outline).
  static Target Piece_at(const std::string& shape) { return {Puzzle_pack(puzzle_index), shape, "puzzle"}; }
  static Target Outline(const std::string& shape) { return {Board_pack(puzzle_index), shape, "puzz_draw"}; }
  static Param_map& Piece(const std::string& shape, const char* fun) {
    return Params({Puzzle_pack(puzzle_index), shape, fun});
  }
  static std::vector<std::string> Loose() {
    std::vector<std::string> loose;
    for (int i = 0; i < Shape_count; ++i)
      if (Is_object_in_global_store(Puzzle_pack(puzzle_index), Shape_name(i)) &&
          Piece(Shape_name(i), "puzzle").count("FUN") != 0)
        loose.push_back(Shape_name(i));
    return loose;
  }
  static bool Home(const std::string& shape) {
    return Piece(shape, "puzz_draw")["POS_Z"].value.number == Depth_landed;
  }
  // Taps a loose piece where it lies; a piece lying on top of it there takes the tap instead.
  // Returns the piece that won the pick (empty: none).
  std::string Tap_piece(const std::string& shape) {
    Param_map& at = Piece(shape, "puzz_draw");
    const std::vector<std::string> loose = Loose();
    for (const std::string& other : loose) Piece(other, "puzzle")["MOUSE_HT"].value.flag = 0;
    Move_to(at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece);
    for (const std::string& other : loose)
      if (Piece(other, "puzzle")["MOUSE_HT"].value.flag) return Tap_here(), other;
    return "";
  }
  void Tap_outline(const std::string& shape) {
    Param_map& home_at = Piece(shape, "puzzle");
    Tap(home_at["CENTER_X"].value.number, home_at["CENTER_Y"].value.number, Depth_piece, Outline(shape));
  }
  // Sends `shape` (or the piece lying on it) home with two taps; returns the piece sent.
  std::string Place(const std::string& shape) {
    const std::string tapped = Tap_piece(shape);
    if (!tapped.empty() && selected_piece == tapped) Tap_outline(tapped);
    return selected_piece.empty() ? tapped : "";
  }
  std::string home;
  double step = 50;  // game time of a frame
  int px = 0, py = 0;  // where the pointer is
  std::map<std::string, int> started;  // sounds started, by entry name
  uint64_t last_serial = 0;
};
