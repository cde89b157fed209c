// Every button of the game screen, of its windows and of the main menu, tapped where it is
// drawn; what it does is checked where a child or a parent meets it: what is heard, what is
// shown, what is saved. (The piece-count cards, the first start's help and the buttons that
// leave the game are pressed by the whole-game, play and leave tests.)
#include <cmath>

#include "platform/video.h"
#include "support/game.h"

namespace {

const Target Menu = {"Int_butt", "bmenu", "bmenu_draw"};

class Buttons : public Game_test {
 protected:
  // Taps a button; its click is heard (`heard` clicks: none while the sound is off).
  void Press(const Target& button, int heard = 1) {
    const int clicks = started[Button_sound];
    ASSERT_NO_FATAL_FAILURE(Tap_drawing(button));
    EXPECT_EQ(started[Button_sound], clicks + heard) << button.object << "/" << button.fun;
  }
  // Opens the main menu and runs until it stands (a second to fade in).
  void Open_menu() {
    Press(Menu);
    Run_for(1100);
  }
  // Where every loose piece lies.
  static std::vector<double> Positions() {
    std::vector<double> at;
    for (const std::string& shape : Loose())
      for (const char* axis : {"POS_X", "POS_Y"}) at.push_back(Piece(shape, "puzz_draw")[axis].value.number);
    return at;
  }
  // The loose pieces that show their own part of the picture where they lie.
  static int Pieces_showing_their_picture(const std::vector<unsigned char>& frame) {
    int showing = 0;
    for (const std::string& shape : Loose()) {
      Param_map &at = Piece(shape, "puzz_draw"), &home = Piece(shape, "puzzle");
      showing += Difference(Colour(frame, at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece),
                            Picture_colour(Puzzle_pack(puzzle_index), "PUZZLE.JPG", home["CENTER_X"].value.number,
                                           home["CENTER_Y"].value.number, Depth_piece)) <= 24;
    }
    return showing;
  }
  // The points of a 5 x 3 grid over the middle of the window plane where two frames differ by
  // more than `by` in a channel.
  static int Differing(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, int by) {
    int differing = 0;
    for (double x = -4; x <= 4; x += 2)
      for (double y = -2; y <= 2; y += 2)
        differing += Difference(Colour(a, x, y, Depth_window), Colour(b, x, y, Depth_window)) > by;
    return differing;
  }
  // The file's done flag of a puzzle.
  int Saved_done(int puzzle) { return Read_file(Settings_file())[40 + 4 * puzzle]; }
};

TEST_F(Buttons, EveryWindowOfTheGameScreenOpensOverTheBoardTakesItsTapsAndClosesAgain) {
  Played_before();
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  const std::string piece = Loose()[0];
  Param_map& at = Piece(piece, "puzz_draw");
  const std::vector<double> scatter = Positions();
  const std::vector<unsigned char> board = Look();
  const Target openers[][2] = {{{"Int_butt", "bhelp", "bhelp_draw"}, {"z_Int_store", "m_help", "bclose_draw"}},
                               {{"Int_butt", "bclose", "bclose_draw"}, {"z_Int_store", "m_exit", "bcancel_draw"}},
                               {{"Int_butt", "bbreak", "bbreak_draw"}, {"z_Int_store", "m_break", "bcancel_draw"}},
                               {Menu, {"z_Int_store", "m_menu", "bclose_draw"}}};
  for (const auto& [opener, closer] : openers) {
    SCOPED_TRACE(closer.object);
    Press(opener);
    Run_for(1100);
    EXPECT_GE(Differing(Look(), board, 40), 10);  // it stands over the board
    // Its plate takes the taps meant for a piece and for the arrows behind it.
    const Target plate = {"z_Int_store", closer.object, "m_block_draw"};
    Tap(at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece, plate);
    EXPECT_EQ(selected_piece, "");
    Param_map& next = Params({"Int_butt", "next_pz", "next_draw"});
    Tap(next["POS_X"].value.number, next["POS_Y"].value.number, next["POS_Z"].value.number, plate);
    EXPECT_EQ(puzzle_index, 0);
    Press(closer);
    Run_for(1100);
    EXPECT_FALSE(Is_object_in_global_store("z_Int_store", closer.object));
    EXPECT_EQ(Differing(Look(), board, 24), 0);  // the board as it was
  }
  EXPECT_EQ(Positions(), scatter);  // nothing was broken up
  EXPECT_EQ(Tap_piece(piece), piece);  // the board takes taps again
  EXPECT_EQ(selected_piece, piece);
}

TEST_F(Buttons, ThePreviewShowsThePictureAndTheArrowsSwitchToTheNextAndBack) {
  Played_before();
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  const double preview_x = 16.8 - View_half_width(Video_ptr, Camera_distance);
  const double preview_y = View_half_height(Video_ptr, Camera_distance) - 20.85;
  std::vector<unsigned char> frame = Look();
  const auto bare = Colour(frame, preview_x, preview_y, 0.7);
  EXPECT_GE(Pieces_showing_their_picture(frame), 14);
  const Target preview = {"Int_butt", "bhimg", "bhimg_draw"};
  Press(preview);
  Run_for(1100);
  const auto first = Colour(Look(), preview_x, preview_y, 0.7);
  EXPECT_GT(Difference(first, bare), 40);
  for (const auto& [arrow, index] : {std::pair<Target, int>{{"Int_butt", "next_pz", "next_draw"}, 1},
                                     {{"Int_butt", "prev_pz", "prev_draw"}, 0}}) {
    Press(arrow);
    Run_for(2600);  // one slides out, the other in
    EXPECT_EQ(puzzle_index, index);
    frame = Look();
    EXPECT_GE(Pieces_showing_their_picture(frame), 14) << "puzzle " << index;
    // The preview shows the picture of the puzzle on the board.
    EXPECT_EQ(Difference(Colour(frame, preview_x, preview_y, 0.7), first) <= 24, index == 0);
  }
  Press(preview);
  Run_for(1100);
  EXPECT_LE(Difference(Colour(Look(), preview_x, preview_y, 0.7), bare), 24);
}

TEST_F(Buttons, TheMainMenusSwitchesAreHeardShownAndSaved) {
  Played_before();
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  Open_menu();
  const Target sound = {"z_Int_store", "m_menu", "bsound_draw"}, music = {"z_Int_store", "m_menu", "bmusic_draw"};
  const Target twenty = {"z_Int_store", "m_menu", "b20pc_draw"}, forty_eight = {"z_Int_store", "m_menu", "b48pc_draw"};
  auto mark = [&](const std::vector<unsigned char>& frame, const Target& button) {
    Param_map& at = Params(button);
    return Colour(frame, at["POS_X"].value.number, at["POS_Y"].value.number, Depth_window);
  };
  auto playing_music = [] {
    return std::count_if(sample_list.begin(), sample_list.end(), [](const sample* s) { return s->looping == 1; });
  };
  std::vector<unsigned char> frame = Look();
  const auto on = mark(frame, sound), chosen = mark(frame, twenty), other = mark(frame, forty_eight);
  EXPECT_GT(Difference(chosen, other), 40);
  Press(sound, 0);  // its own click is cut at once
  EXPECT_EQ(Sound_ptr->sound_on, 0);
  EXPECT_GT(Difference(mark(Look(), sound), on), 40);
  ASSERT_EQ(playing_music(), 1);
  Press(music, 0);
  EXPECT_EQ(playing_music(), 0);
  Press(music, 0);
  EXPECT_EQ(started[Music_sound], 2);  // from its beginning again
  Press(music, 0);
  Press(forty_eight, 0);
  Run_for(4000);  // the puzzle slides out and comes back in 48 pieces
  EXPECT_EQ(Loose().size(), 48u);
  frame = Look();
  EXPECT_LE(Difference(mark(frame, forty_eight), chosen), 24);
  EXPECT_LE(Difference(mark(frame, twenty), other), 24);
  Press(twenty, 0);
  Run_for(4000);
  EXPECT_EQ(Loose().size(), 20u);
  Press(sound);  // switched on: the one click heard is its own
  EXPECT_LE(Difference(mark(Look(), sound), on), 24);
  Press(sound, 0);
  Press(forty_eight, 0);
  Press({"z_Int_store", "m_menu", "bclose_draw"}, 0);
  Run_for(4000);
  EXPECT_FALSE(Is_object_in_global_store("z_Int_store", "m_menu"));
  Push_ctrl_q();
  ASSERT_TRUE(Run_loop_step());
  Shut_down();
  const std::string saved = Read_file(Settings_file());
  ASSERT_EQ(saved.size(), 80u);
  EXPECT_EQ(saved[4 + 29], 0);  // sound off
  EXPECT_EQ(saved[4 + 31], 0);  // music off
  EXPECT_EQ(saved[4 + 32], 2);  // 48 pieces
}

TEST_F(Buttons, AboutAndBreakingUpThisPuzzleAndAllOfThem) {
  Played_before(1, {0, 5});
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  EXPECT_TRUE(Is_object_in_global_store(Puzzle_pack(0), "puzz_final"));  // done before
  Press({"Int_butt", "bbreak", "bbreak_draw"});
  Run_for(1100);
  Press({"z_Int_store", "m_break", "bbreak_draw"});
  EXPECT_EQ(Saved_done(0), 0);
  Run_for(4000);
  EXPECT_EQ(Loose().size(), 20u);
  EXPECT_GE(Pieces_showing_their_picture(Look()), 14);
  const std::vector<double> scatter = Positions();

  Open_menu();
  Press({"z_Int_store", "m_menu", "babout_draw"});
  Run_for(2100);  // the menu fades out, then the about window in
  EXPECT_FALSE(Is_object_in_global_store("z_Int_store", "m_menu"));
  Press({"z_Int_store", "m_about", "bok_draw"});
  Run_for(1100);
  EXPECT_FALSE(Is_object_in_global_store("z_Int_store", "m_about"));

  for (const char* choice : {"bcancel_draw", "bbreak_draw"}) {
    Open_menu();
    Press({"z_Int_store", "m_menu", "bbreak_draw"});
    Run_for(2100);
    Press({"z_Int_store", "m_breaks", choice});
    EXPECT_EQ(Saved_done(5), choice[1] == 'c');
    Run_for(4000);
    EXPECT_EQ(Positions() == scatter, choice[1] == 'c');  // only the break scatters anew
  }
}

}  // namespace
