// Every button of the game screen, its windows and the main menu, tapped where it is drawn (and
// reached by the keyboard); what it does is checked where a child or a parent meets it: heard,
// shown, saved. (The piece-count cards, the first help and the ways out are pressed by the other
// game tests.)
#include <set>

#include "platform/video.h"
#include "scenes/links.h"
#include "scenes/switches.h"
#include "support/game.h"

namespace {

class Buttons : public Game_test {
 protected:
  // Taps a button and runs `ms`; `heard` clicks are heard (none while the sound is off).
  void Press(const std::string& object, const char* fun, double ms = 0, int heard = 1) {
    const int clicks = started[Button_sound];
    ASSERT_NO_FATAL_FAILURE(Game_test::Press(object, fun));
    EXPECT_EQ(started[Button_sound], clicks + heard) << object << "/" << fun;
    Run_for(ms);
  }
  // Opens a window by the keyboard: Tab to its button and Enter; the focus stands on `first`.
  void Open_by_keys(const char* button, const char* window, const char* first) {
    ASSERT_NO_FATAL_FAILURE(Tab_to(button));
    Key(SDLK_RETURN);
    Run_for(1100);
    ASSERT_TRUE(Is_object_in_global_store("z_Int_store", window)) << window;
    EXPECT_EQ(Focused().fun, first) << window;
  }
  // Escape closes the open window as its close or cancel button would.
  void Escape(const char* window) {
    Key(SDLK_ESCAPE);
    Run_for(1100);
    EXPECT_FALSE(Is_object_in_global_store("z_Int_store", window)) << window;
  }
  static std::vector<double> Positions() {
    std::vector<double> at;
    for (const std::string& shape : Loose())
      for (const char* axis : {"POS_X", "POS_Y"}) at.push_back(Piece(shape, "puzz_draw")[axis].value.number);
    return at;
  }
  // The loose pieces that show their own part of the picture where they lie.
  static int Showing_their_picture(const std::vector<unsigned char>& frame) {
    int showing = 0;
    for (const std::string& shape : Loose()) {
      Param_map &at = Piece(shape, "puzz_draw"), &home = Piece(shape, "puzzle");
      showing += Difference(Colour(frame, at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece),
                            Picture_colour(Picture_pack(puzzle_index), "PUZZLE.JPG", home["CENTER_X"].value.number,
                                           home["CENTER_Y"].value.number, Depth_piece)) <= 24;
    }
    return showing;
  }
  // Points of a 5 x 3 grid over the window plane's middle where two frames differ by over `by`.
  static int Differing(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, int by) {
    int differing = 0;
    for (double x = -4; x <= 4; x += 2)
      for (double y = -2; y <= 2; y += 2) differing += Difference(Colour(a, x, y, Depth_window), Colour(b, x, y, Depth_window)) > by;
    return differing;
  }
  int Saved(int offset) { return Read_file(Settings_file())[offset]; }
};

TEST_F(Buttons, TheScreensWindowsStandOverTheBoardTakeItsTapsOpenByTheKeysTooAndArrowsShowPictures) {
  const Link_record build_links = Link_addresses;
  Link_addresses = {"https://home.example.test/", "", ""};
  Played_before();
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  const std::string piece = Loose()[0];
  Param_map &at = Piece(piece, "puzz_draw"), &next = Params({"Int_butt", "next_pz", "next_draw"});
  const std::vector<double> scatter = Positions();
  const std::vector<unsigned char> board = Look();
  EXPECT_GE(Showing_their_picture(board), 14);
  const char* windows[][4] = {{"bhelp", "bhelp_draw", "m_help", "bclose_draw"}, {"bclose", "bclose_draw", "m_exit", "bcancel_draw"},
                              {"bbreak", "bbreak_draw", "m_break", "bcancel_draw"}, {"bmenu", "bmenu_draw", "m_menu", "bclose_draw"}};
  for (const auto& [opener, fun, window, closer] : windows) {
    SCOPED_TRACE(window);
    Press(opener, fun, 1100);
    EXPECT_GE(Differing(Look(), board, 40), 10);  // it stands over the board
    const Target plate = {"z_Int_store", window, "m_block_draw"};  // which takes the taps behind it
    Tap(at["POS_X"].value.number, at["POS_Y"].value.number, Depth_piece, plate);
    Tap(next["POS_X"].value.number, next["POS_Y"].value.number, next["POS_Z"].value.number, plate);
    EXPECT_TRUE(selected_piece.empty() && puzzle_index == 0);
    Press(window, closer, 1100);
    EXPECT_FALSE(Is_object_in_global_store("z_Int_store", window));
    EXPECT_EQ(Differing(Look(), board, 24), 0);  // the board as it was
    if (opener == std::string("bclose")) continue;  // the exit button is never reached by the keys
    ASSERT_NO_FATAL_FAILURE(Open_by_keys(opener, window, closer));
    Escape(window);
  }
  // In the menu Tab goes round its ten buttons, never to its link; by the keys too, about, whose
  // one button closes it, and breaking every puzzle up, cancelled.
  for (const char* button : {"babout_draw", "bbreak_draw"}) {
    ASSERT_NO_FATAL_FAILURE(Open_by_keys("bmenu", "m_menu", "bclose_draw"));
    std::set<std::string> round;
    for (int i = 0; i < 12; ++i) round.insert(Focused().fun), Key(SDLK_TAB);
    EXPECT_TRUE(round.size() == 10u && round.count("bvisit_draw") == 0);  // close, about, break all, 3 switches, 4 counts
    for (int i = 0; i < 12 && Focused().fun != button; ++i) Key(SDLK_TAB);
    Key(SDLK_RETURN);
    Run_for(2200);  // the menu fades out, then the window in
    const char* window = button[1] == 'a' ? "m_about" : "m_breaks";
    ASSERT_TRUE(Is_object_in_global_store("z_Int_store", window)) << window;
    EXPECT_EQ(Focused().fun, button[1] == 'a' ? "bok_draw" : "bcancel_draw");
    Escape(window);
  }
  EXPECT_EQ(Positions(), scatter);  // nothing was broken up
  Link_addresses = build_links;

  const double preview_x = 16.8 - View_half_width(Video_ptr, Camera_distance);
  const double preview_y = View_half_height(Video_ptr, Camera_distance) - 20.85;
  const auto bare = Colour(board, preview_x, preview_y, 0.7);
  Press("bhimg", "bhimg_draw", 1100);
  const auto first = Colour(Look(), preview_x, preview_y, 0.7);
  EXPECT_GT(Difference(first, bare), 40);
  for (const auto& [arrow, fun, index] : {std::tuple{"next_pz", "next_draw", 1}, {"prev_pz", "prev_draw", 0}}) {
    Press(arrow, fun, 2600);  // one puzzle slides out, the other in
    const std::vector<unsigned char> frame = Look();
    EXPECT_EQ(puzzle_index, index);
    EXPECT_GE(Showing_their_picture(frame), 14) << "puzzle " << index;
    // The preview shows the picture of the puzzle on the board.
    EXPECT_EQ(Difference(Colour(frame, preview_x, preview_y, 0.7), first) <= 24, index == 0);
  }
  Press("bhimg", "bhimg_draw", 1100);
  EXPECT_LE(Difference(Colour(Look(), preview_x, preview_y, 0.7), bare), 24);
  // By the keys: Enter on the preview's button shows and hides it, on the next arrow switches.
  ASSERT_NO_FATAL_FAILURE(Tab_to("bhimg"));
  for (const bool shown : {true, false}) {
    Key(SDLK_RETURN);
    Run_for(1100);
    EXPECT_EQ(Is_object_in_global_store("Int_store", "help_im"), shown);
  }
  ASSERT_NO_FATAL_FAILURE(Tab_to("next_pz"));
  Key(SDLK_RETURN);
  Run_for(2600);
  EXPECT_EQ(puzzle_index, 1);
}

TEST_F(Buttons, BreakingUpThisPuzzleAndAllOfThemAboutAndTheMainMenusSwitchesAreHeardShownAndSaved) {
  Played_before(1, {0, 5});
  ASSERT_NO_FATAL_FAILURE(Boot(1));
  EXPECT_TRUE(Is_object_in_global_store(Puzzle_pack(0), "puzz_final"));  // done before
  Press("bbreak", "bbreak_draw", 1100);
  Press("m_break", "bbreak_draw");
  EXPECT_EQ(Saved(40), 0);
  Run_for(4000);
  EXPECT_GE(Showing_their_picture(Look()), 14);
  const std::vector<double> scatter = Positions();
  Press("bmenu", "bmenu_draw", 1100);
  Press("m_menu", "babout_draw", 2100);  // the menu fades out, then the about window in
  EXPECT_FALSE(Is_object_in_global_store("z_Int_store", "m_menu"));
  Press("m_about", "bok_draw", 1100);
  EXPECT_FALSE(Is_object_in_global_store("z_Int_store", "m_about"));
  for (const char* choice : {"bcancel_draw", "bbreak_draw"}) {
    Press("bmenu", "bmenu_draw", 1100);
    Press("m_menu", "bbreak_draw", 2100);
    Press("m_breaks", choice);
    EXPECT_EQ(Saved(40 + 4 * 5), choice[1] == 'c');
    Run_for(4000);
    EXPECT_EQ(Positions() == scatter, choice[1] == 'c');  // only the break scatters anew
  }
  Press("bmenu", "bmenu_draw", 1100);
  auto mark = [&](const std::vector<unsigned char>& frame, const char* fun) {
    Param_map& at = Params({"z_Int_store", "m_menu", fun});
    return Colour(frame, at["POS_X"].value.number, at["POS_Y"].value.number, Depth_window);
  };
  auto music = [] { return std::count_if(sample_list.begin(), sample_list.end(), [](const sample* s) { return s->looping; }); };
  std::vector<unsigned char> frame = Look();
  const auto on = mark(frame, "bsound_draw"), chosen = mark(frame, "b20pc_draw"), other = mark(frame, "b48pc_draw");
  EXPECT_GT(Difference(chosen, other), 40);
  Press("m_menu", "bsound_draw", 0, 0);  // its own click is cut at once
  EXPECT_EQ(Sound_ptr->sound_on, 0);
  EXPECT_GT(Difference(mark(Look(), "bsound_draw"), on), 40);
  ASSERT_EQ(music(), 1);
  Press("m_menu", "bmusic_draw", 0, 0);
  EXPECT_EQ(music(), 0);
  Press("m_menu", "bmusic_draw", 0, 0);
  EXPECT_EQ(started[Music_sound], 2);  // from its beginning again
  Press("m_menu", "bmusic_draw", 0, 0);
  for (const Piece_set* set : Piece_sets_by_size()) {  // the puzzle goes and comes back in each count
    Press("m_menu", set->switch_fun, 4000, 0);
    EXPECT_EQ(static_cast<int>(Loose().size()), set->pieces);
    frame = Look();
    for (const Piece_set& each : Piece_sets)  // one switch marked, the others not
      EXPECT_LE(Difference(mark(frame, each.switch_fun), &each == set ? chosen : other), 24) << each.pieces;
  }
  Press("m_menu", "bsound_draw");  // switched on: one click
  EXPECT_LE(Difference(mark(Look(), "bsound_draw"), on), 24);
  Press("m_menu", "bsound_draw", 0, 0);
  Press("m_menu", "b12pc_draw", 4000, 0);
  Press("m_menu", Outline_switch_fun, 0, 0);  // the outlines hidden
  EXPECT_GT(Difference(mark(Look(), Outline_switch_fun), on), 40);
  Press("m_menu", "bclose_draw", 1100, 0);
  EXPECT_FALSE(Is_object_in_global_store("z_Int_store", "m_menu"));
  // A lifted piece lights no outline on the board; a tap inside the unseen one still sends it home.
  const std::string piece = Loose()[0];
  const std::vector<unsigned char> before = Look();
  ASSERT_EQ(Tap_piece(piece), piece);
  EXPECT_EQ(Differing_on_board(Look(), before, 0.7), 0);
  Param_map& home = Piece(piece, "puzzle");
  Tap(home["CENTER_X"].value.number, home["CENTER_Y"].value.number, Depth_piece, {Board_pack(0), piece, "puzz_draw"});
  EXPECT_TRUE(selected_piece.empty() && Loose().size() == 11u);
  Land_all_but();  // and the rest of the 12 pieces, blind, to the finished picture
  Run_for(2100);
  EXPECT_TRUE(Is_object_in_global_store(Puzzle_pack(0), "puzz_final"));
  Key(SDLK_q, KMOD_LCTRL);
  ASSERT_TRUE(quit_asked);
  Shut_down();
  Expect_saved_done({0});
  EXPECT_TRUE(Saved(4 + 29) == 0 && Saved(4 + 31) == 0 && Saved(4 + 32) == 4 && Saved(4 + 4) == 1);  // 12, hidden
}

}  // namespace
