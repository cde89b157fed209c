// The whole game on the real packs, stepped through the event loop's own step on the test
// clock and played through real SDL events, with a temporary home and silent sound. Every
// tap goes to the window pixel that shows its world point, and is refused unless the
// intended drawing wins the pick there (the pointer moves there first, as a hand does).
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/frame.h"
#include "audio/sound.h"
#include "puzzle/catalogue.h"
#include "resources/depths.h"
#include "resources/names.h"
#include "runtime/params.h"
#include "runtime/process.h"
#include "scenes/boot.h"
#include "scenes/focus.h"
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
    Focus = Focus_record();
  }
  void TearDown() override {
    Destroy_all_objects();
    End_sound_system();
    Time_of_day_ms = Test_time_of_day_ms;
  }
  // The boot scene, run until the piece-count window stands (the loader takes 6.25 s), and
  // optionally the card of a piece mode tapped (resources/piece_sets.h) and the puzzle slid in.
  void Boot(uint32_t piece_mode = 0) {
    Build_boot_scene(Shut_down);
    Run_for(7500);
    if (piece_mode == 0) return;
    Press("m_select", Piece_set_of(piece_mode).card_fun, 2000);
    ASSERT_TRUE(Global_env[Picture_pack(puzzle_index)].count("plase")) << "no puzzle";
  }
  // One turn of the event loop `ms` later; the sounds that started in it are counted by entry
  // (the playing samples carry their start numbers; even a short effect outlasts a frame).
  void Frame(double ms = 50) {
    test_now += ms;
    quit_asked = Run_loop_step() || quit_asked;
    for (const sample* s : sample_list)
      for (const auto& [name, entry] : Global_data[Sound_pack])
        if (s->serial > last_serial && entry.pos == s->wav) ++started[name], last_serial = s->serial;
  }
  void Run_for(double ms) {
    for (double end = test_now + ms; test_now < end;) Frame();
  }
  // Turns of the loop until `done` or until the game's clock has moved on `ms` (the real
  // clock's way of waiting).
  template <class Done>
  void Until(Done done, double ms) {
    for (const double end = Clock_ms() + ms; !done() && Clock_ms() < end;) Frame();
  }
  static Param_map& Params(const Target& target) {
    return Global_env[target.store][target.object]->functions[target.fun].params;
  }
  // Moves the pointer to the pixel of the world point, which must lie in the window, and runs
  // a frame. With a target, fails unless that target then wins the pick there: the pass gives
  // the hover flag to its winner alone.
  void Point_at(double x, double y, double z, const Target* target = nullptr) {
    Pixel_of(x, y, z, px, py);
    ASSERT_TRUE(px >= 0 && py >= 0 && px < Video_ptr->width && py < Video_ptr->height)
        << "(" << x << ", " << y << ", " << z << ") lies outside the window";
    if (target) Params(*target)["MOUSE_HT"].value.flag = 0;
    Push_motion(px, py);
    Frame();
    if (target) {
      ASSERT_EQ(Params(*target)["MOUSE_HT"].value.flag, 1) << "another model wins over " << target->fun;
    }
  }
  // A quick tap where the pointer is (press and release in one burst); two frames take it.
  void Tap_here() {
    Push_button(true, px, py);
    Push_button(false, px, py);
    Frame(), Frame();
  }
  void Tap(double x, double y, double z, const Target& target) {
    ASSERT_NO_FATAL_FAILURE(Point_at(x, y, z, &target));
    Tap_here();
  }
  // Presses on the loose piece `shape`, moves the pointer over `ms` in 50 ms steps to the world
  // point (x, y) of the pieces' plane with the button down, and lets go there.
  void Drag(const std::string& shape, double x, double y, double ms = 250) {
    Param_map& at = Piece(shape, "puzz_draw");
    const Target piece = {Picture_pack(puzzle_index), shape, "puzzle"};
    ASSERT_NO_FATAL_FAILURE(Point_at(at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece, &piece));
    const int from_x = px, from_y = py, steps = static_cast<int>(ms / 50);
    int to_x, to_y;
    Pixel_of(x, y, Depth_piece, to_x, to_y);
    Push_button(true, px, py);
    Frame();
    for (int i = 1; i <= steps; ++i) {
      px = from_x + (to_x - from_x) * i / steps, py = from_y + (to_y - from_y) * i / steps;
      Push_motion(px, py);
      Frame();
    }
    Push_button(false, px, py);
    Run_for(200);
  }
  // The frame as a child sees it, with the pointer moved out of the way to the foot of the
  // screen: drawn once more without the buffer swap, and read back.
  std::vector<unsigned char> Look() {
    Point_at(0, -40, 0);
    Run_frame();
    return Read_frame();
  }
  // Pixels of a board drawn at `scale` where two frames differ by more than 40 in a channel.
  static int Differing_on_board(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, double scale) {
    int left, top, right, bottom, differing = 0;
    Pixel_of(-10 * scale, 7 * scale, Depth_board, left, top);
    Pixel_of(10 * scale, -7 * scale, Depth_board, right, bottom);
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        const size_t at = (static_cast<size_t>(Video_ptr->height - 1 - y) * Video_ptr->width + x) * 4;
        differing += std::abs(a[at] - b[at]) > 40 || std::abs(a[at + 1] - b[at + 1]) > 40 || std::abs(a[at + 2] - b[at + 2]) > 40;
      }
    return differing;
  }
  std::string Settings_file() const {
    return home + "/data/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg";
  }
  // The settings file of an earlier game with this piece mode and these puzzles done (no help
  // window after the piece count), written by the game's own writer.
  void Played_before(uint32_t piece_mode = 1, const std::vector<int>& done = {}) {
    Load_settings();
    Settings.piece_mode = piece_mode;
    for (int puzzle : done) Settings.puzzle_done[puzzle] = 1;
    Save_settings();
    Reset_settings();
  }
  // Only the puzzles `done` are done in the settings file.
  void Expect_saved_done(const std::set<int>& done) const {
    const std::string file = Read_file(Settings_file());
    ASSERT_EQ(file.size(), 80u);
    for (int i = 0; i < Puzzle_count; ++i) EXPECT_EQ(file[40 + 4 * i], char(done.count(i))) << "puzzle " << i;
  }
  // A key pressed and let go (with these modifiers), and the two turns of the loop that take it.
  void Key(SDLKey key, unsigned mod = KMOD_NONE) {
    for (Uint8 type : {SDL_KEYDOWN, SDL_KEYUP}) {
      SDL_Event event = Key_event(type, key, mod);
      SDL_PushEvent(&event);
    }
    Frame(), Frame();
  }
  // Tab until the focus stands on `object` of the game screen or of a window.
  void Tab_to(const std::string& object) {
    for (int i = 0; i < 60 && Focused().object != object; ++i) Key(SDLK_TAB);
    ASSERT_EQ(Focused().object, object);
  }
  // Taps a button where it is drawn, at its POS_X, POS_Y and POS_Z (of the game screen, or of a
  // window: "m_..."), then runs `ms`.
  void Press(const std::string& object, const std::string& fun, double ms = 0) {
    const Target target = {object[0] == 'm' ? "z_Int_store" : "Int_butt", object, fun};
    ASSERT_TRUE(Is_object_in_global_store(target.store, object)) << object << " is not there";
    Param_map& at = Params(target);
    ASSERT_NO_FATAL_FAILURE(Tap(at["POS_X"].value.number, at["POS_Y"].value.number, at["POS_Z"].value.number, target));
    Run_for(ms);
  }
  // The pieces of the shown puzzle: their functions' parameters, those still loose, those home.
  static Param_map& Piece(const std::string& shape, const char* fun) {
    return Params({Picture_pack(puzzle_index), shape, fun});
  }
  static std::vector<std::string> Loose() {
    std::vector<std::string> loose;
    for (int i = 0; i < Shape_count; ++i)
      if (Is_object_in_global_store(Picture_pack(puzzle_index), Shape_name(i)) &&
          Piece(Shape_name(i), "puzzle").count("FUN") != 0)
        loose.push_back(Shape_name(i));
    return loose;
  }
  static bool Home(const std::string& shape) { return Piece(shape, "puzz_draw")["POS_Z"].value.number == Depth_landed; }
  // Taps a loose piece where it lies; a piece lying on top of it there takes the tap instead.
  // Returns the piece that won the pick (empty: none).
  std::string Tap_piece(const std::string& shape) {
    Param_map& at = Piece(shape, "puzz_draw");
    const std::vector<std::string> loose = Loose();
    for (const std::string& other : loose) Piece(other, "puzzle")["MOUSE_HT"].value.flag = 0;
    Point_at(at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece);
    for (const std::string& other : loose)
      if (Piece(other, "puzzle")["MOUSE_HT"].value.flag) return Tap_here(), other;
    return "";
  }
  // A child's two taps that send `shape` (or the piece lying on it) home: the piece, then its
  // lit outline. Returns the piece sent.
  std::string Place(const std::string& shape) {
    const std::string tapped = Tap_piece(shape);
    if (tapped.empty() || selected_piece != tapped) return "";
    Param_map& home = Piece(tapped, "puzzle");
    Tap(home["CENTER_X"].value.number, home["CENTER_Y"].value.number, Depth_piece,
        {Board_pack(puzzle_index), tapped, "puzz_draw"});
    return selected_piece.empty() ? tapped : "";
  }
  // Sends every loose piece home but `keep` and waits until they have landed.
  void Land_all_but(const std::string& keep = "") {
    const std::vector<std::string> loose = Loose();
    for (const std::string& shape : loose)
      if (shape != keep && Piece(shape, "puzzle").count("FUN")) {
        ASSERT_NE(Place(shape), keep);
      }
    for (const std::string& shape : loose)
      while (shape != keep && !Home(shape) && test_now < 100000) Frame();
  }
  std::string home;
  int px = 0, py = 0;                  // where the pointer is
  std::map<std::string, int> started;  // sounds started, by entry name
  bool quit_asked = false;             // a turn of the loop asked to quit
  uint64_t last_serial = 0;
};
