// Play without a mouse, through real SDL key events in the running game: a whole 20-piece game
// by the keyboard with its ring in sight, and a whole 4-piece game by one switch (scanning) with
// its ticks. (The windows by the keyboard: buttons_test.)
#include <cmath>

#include "app/options.h"
#include "platform/config.h"
#include "render/pick.h"
#include "render/screen_box.h"
#include "support/game.h"

namespace {

class Keys : public Game_test {
 protected:
  void TearDown() override {
    Config = Config_record();
    Game_test::TearDown();
  }
  static double Centre(const std::string& shape, const char* axis) {
    return Piece(shape, "puzzle")[std::string("CENTER_") + axis].value.number;
  }
  // Arrows the lifted piece from slot to slot until it is over its own.
  void Arrow_home() {
    const std::string piece = Focus.lifted;
    for (int i = 0; i < 20 && Focus.slot != piece; ++i) {
      const double dx = Centre(piece, "X") - Centre(Focus.slot, "X"), dy = Centre(piece, "Y") - Centre(Focus.slot, "Y");
      Key(std::abs(dx) > 0.5 ? (dx > 0 ? SDLK_RIGHT : SDLK_LEFT) : (dy > 0 ? SDLK_UP : SDLK_DOWN));
    }
    ASSERT_EQ(Focus.slot, piece);
  }
  // The focused drawing of the frame just drawn, and the box it shows in.
  static Screen_box Focused_box() {
    Screen_box box{0, 0, 0, 0};
    for (const mause_obj& drawing : frame_pickables)
      if (drawing.object == Focused().object && drawing.fun == Focused().fun) Drawing_screen_box(drawing, box);
    return box;
  }
};

// WCAG's contrast of two pixels.
double Contrast(const unsigned char* a, const unsigned char* b) {
  auto luminance = [](const unsigned char* p) {
    double l = 0;
    const double weight[3] = {0.2126, 0.7152, 0.0722};
    for (int c = 0; c < 3; ++c) {
      const double v = p[c] / 255.0;
      l += weight[c] * (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return l + 0.05;
  };
  return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

TEST_F(Keys, ATwentyPieceGamePlayedByTheKeyboardAloneWithItsRingInSight) {
  Played_before(1);
  Boot();
  ASSERT_EQ(Focused().fun, Piece_set_of(1).card_fun);  // the count chosen last time
  Key(SDLK_RIGHT);
  EXPECT_EQ(Focused().fun, Piece_set_of(2).card_fun);
  Key(SDLK_LEFT);
  Key(SDLK_RETURN);
  Run_for(2000);
  ASSERT_EQ(Loose().size(), 20u);
  // The ring round the focused piece stands out 3:1 against what it covers, all round.
  const std::vector<unsigned char> ringed = Look();
  const Screen_box box = Focused_box();
  Focus.shown = false;
  const std::vector<unsigned char> plain = Look();
  for (double t = 0.1; t < 1; t += 0.2)
    for (const auto& [x, y, ox, oy] : {std::array<double, 4>{box.left + t * (box.right - box.left), box.top, 0, -1},
                                       {box.left + t * (box.right - box.left), box.bottom, 0, 1},
                                       {box.left, box.top + t * (box.bottom - box.top), -1, 0},
                                       {box.right, box.top + t * (box.bottom - box.top), 1, 0}}) {
      double best = 0;
      for (double out : {4.0, 8.0}) {  // the black band, then the white one (3 pixels each here)
        const size_t at = ((Video_ptr->height - 1 - static_cast<size_t>(y + oy * out)) * Video_ptr->width +
                           static_cast<size_t>(x + ox * out)) * 4;
        best = std::max(best, Contrast(&ringed[at], &plain[at]));
      }
      EXPECT_GE(best, 3.0) << "at " << x << ", " << y;
    }
  // Escape lets a lifted piece go where it lay; a drop on another slot brings it back, lifted.
  const std::string first = Focused().object;
  Param_map& at = Piece(first, "puzz_draw");
  const double x = at["POS_X"].value.number, y = at["POS_Y"].value.number;
  Key(SDLK_SPACE);
  ASSERT_EQ(Focus.lifted, first);
  Key(SDLK_ESCAPE);
  EXPECT_TRUE(selected_piece.empty());
  EXPECT_EQ(at["POS_X"].value.number, x);
  Key(SDLK_RETURN);
  ASSERT_EQ(Focus.lifted, first);
  if (Focus.slot == first) Key(SDLK_LEFT), Focus.slot == first ? Key(SDLK_RIGHT) : void();
  Key(SDLK_RETURN);
  EXPECT_EQ(selected_piece, first);
  EXPECT_EQ(at["POS_Y"].value.number, y);
  EXPECT_FALSE(Home(first));
  for (int placed = 0; placed < 20 && !Loose().empty(); ++placed) {
    ASSERT_EQ(Focused().fun, "puzzle");
    if (Focus.lifted.empty()) Key(SDLK_RETURN);
    ASSERT_NO_FATAL_FAILURE(Arrow_home());
    Key(SDLK_RETURN);
    Run_for(100);
  }
  Run_for(3000);
  EXPECT_TRUE(Loose().empty());
  EXPECT_EQ(started[Fanfare_sound], 1);
  EXPECT_EQ(started[Pick_up_sound], 21);
}

TEST_F(Keys, AFourPieceGamePlayedWithOneSwitchWhileTheScanTicks) {
  char name[] = "shorebound", option[] = "--scan=0.5";
  char* argv[] = {name, option};
  bool windowed = false;
  ASSERT_EQ(Read_options(2, argv, windowed, home + "/none"), -1);
  Played_before(3);
  Build_boot_scene(Shut_down);
  Until([&] { return Focus.window_name == "m_select"; }, 8000);
  // The switch is Space, or a left press anywhere: here on the 48 card while the scan stands on 4.
  ASSERT_EQ(Focused().fun, Piece_set_of(3).card_fun);
  Param_map& card = Params({"z_Int_store", "m_select", Piece_set_of(2).card_fun});
  Pixel_of(card["POS_X"].value.number, card["POS_Y"].value.number, card["POS_Z"].value.number, px, py);
  Push_button(true, px, py), Push_button(false, px, py);
  Run_for(2000);
  ASSERT_EQ(Loose().size(), 4u);
  // One round of the slots without a pick puts the piece back and the scan returns to the pieces.
  Until([&] { return Focused().fun == "puzzle"; }, 5000);
  Key(SDLK_SPACE);
  ASSERT_FALSE(Focus.lifted.empty());
  const double lifted_at = test_now;
  const int ticks = started[Scan_sound];
  Until([&] { return selected_piece.empty(); }, 4000);
  EXPECT_NEAR(test_now - lifted_at, 4 * 500, 100);  // four empty slots shown, one step each
  EXPECT_EQ(started[Scan_sound] - ticks, 4);
  while (!Loose().empty() && test_now < 200000) {
    Until([&] { return Focused().fun == "puzzle"; }, 5000);
    Key(SDLK_SPACE);
    Until([&] { return Focus.slot == Focus.lifted; }, 5000);
    Key(SDLK_SPACE);
    Run_for(200);
  }
  Run_for(3000);
  EXPECT_EQ(started[Fanfare_sound], 1);
  EXPECT_TRUE(Is_object_in_global_store(Puzzle_pack(0), "puzz_final"));
  Expect_saved_done({0});
  // The sound switch off, the scan goes on in silence.
  Sound_ptr->sound_on = 0;
  const int before = started[Scan_sound];
  Run_for(2000);
  EXPECT_EQ(started[Scan_sound], before);
}

}  // namespace
