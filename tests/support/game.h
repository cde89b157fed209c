// The whole game on the real packs, stepped through the event loop's own step on the test
// clock and clicked through real SDL events, with a temporary home and silent sound.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
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
#include "support/window.h"

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
  // optionally the 20- (1) or 48-piece (2) card clicked and the puzzle slid in.
  void Boot(int piece_mode = 0) {
    Build_boot_scene(Shut_down);
    Run_for(7500);
    if (piece_mode == 0) return;
    Click_drawing("z_Int_store", "m_select", piece_mode == 1 ? "m_low_draw" : "m_heigh_draw");
    Run_for(2000);
    ASSERT_TRUE(Is_object_in_global_store(Puzzle_pack(puzzle_index), "puzz_plase")) << "no board";
  }
  void Frame(double ms) {
    test_now += ms;
    Run_loop_step();
  }
  void Frame() { Frame(step); }
  void Run_for(double ms) {
    for (double end = test_now + ms; test_now < end;) Frame();
  }
  // A quick tap at the world point; two frames take it and run what it clicked.
  void Click(double x, double y, double z) {
    Push_press_at(x, y, z, true);
    Frame();
    Frame();
  }
  static Param_map& Params(const std::string& store, const std::string& object, const char* fun) {
    return Global_env[store][object]->functions[fun].params;
  }
  // A tap where a drawing function draws its model (a button: its POS_X, POS_Y, POS_Z).
  void Click_drawing(const std::string& store, const std::string& object, const char* fun) {
    ASSERT_TRUE(Is_object_in_global_store(store, object)) << object << " is not there to click";
    Param_map& at = Params(store, object, fun);
    Click(at["POS_X"].value.number, at["POS_Y"].value.number, at["POS_Z"].value.number);
  }
  std::string Settings_file() const {
    return home + "/data/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg";
  }
  // The settings file of an earlier game (no help window after the piece count).
  void Played_before() {
    Settings_record record{};
    record.record_version = record.sound_flag = record.music_flag = record.piece_mode = 1;
    std::string bytes(4 + sizeof record, '\0');
    bytes[0] = 1;
    std::memcpy(&bytes[4], &record, sizeof record);
    std::filesystem::create_directories(std::filesystem::path(Settings_file()).parent_path());
    Write_file(Settings_file(), bytes);
  }
  // The pieces of the shown puzzle: their functions' parameters, those still loose, and the
  // two clicks of a child that sends one home (the piece, then its lit outline). The piece
  // the first click selects (one lying on top of the aimed one, maybe) is the one sent.
  static Param_map& Piece(const std::string& shape, const char* fun) {
    return Params(Puzzle_pack(puzzle_index), shape, fun);
  }
  static std::vector<std::string> Loose() {
    std::vector<std::string> loose;
    for (int i = 0; i < Shape_count; ++i)
      if (Is_object_in_global_store(Puzzle_pack(puzzle_index), Shape_name(i)) &&
          Piece(Shape_name(i), "puzzle").count("FUN") != 0)
        loose.push_back(Shape_name(i));
    return loose;
  }
  void Click_piece(const std::string& shape) {
    ASSERT_TRUE(Is_object_in_global_store(Puzzle_pack(puzzle_index), shape)) << shape;
    Param_map& at = Piece(shape, "puzz_draw");
    Click(at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece);
  }
  void Click_outline(const std::string& shape) {
    Param_map& home_at = Piece(shape, "puzzle");
    Click(home_at["CENTER_X"].value.number, home_at["CENTER_Y"].value.number, Depth_piece);
  }
  // Sends `shape` home with two clicks; returns the piece sent (empty: none was selected).
  std::string Place(const std::string& shape) {
    Click_piece(shape);
    const std::string sent = selected_piece;
    if (!sent.empty()) Click_outline(sent);
    return sent;
  }
  std::string home;
  double step = 50;  // game time of a frame
};
