// The windows over a real board: they block clicks behind them, close with one fade-out,
// and the main menu hands over to the about and break-all windows.
#include "app/frame.h"
#include "behaviours/fades.h"
#include "puzzle/catalogue.h"
#include "runtime/process.h"
#include "scenes/windows.h"
#include "state/session.h"
#include "support/puzzle_fixture.h"
#include "support/support.h"

namespace {

class Windows : public Puzzle_test {
 protected:
  void SetUp() override {
    Puzzle_test::SetUp();
    Show_current_puzzle();
    Run_for(1300);
    Move_piece("Shape1", 2, 0);  // a piece in the middle of the screen, under any window
    Frame();
  }
  bool Open(const char* name) { return Is_object_in_global_store("z_Int_store", name); }
  Param_map& Window_fun(const char* window, const char* fun) {
    return Global_env["z_Int_store"][window]->functions[fun].params;
  }
  // Clicks a window's button where it is drawn.
  void Click_button(const char* window, const char* fun) {
    Param_map& b = Window_fun(window, fun);
    Click_at(b["POS_X"].value.number, b["POS_Y"].value.number, b["POS_Z"].value.number);
  }
  // On an empty screen, opens the piece-count window and clicks one of its cards once it
  // has faded in.
  void Choose_piece_count(unsigned char first_start, const char* card) {
    Reset_runtime();
    Main_object = new Object("Main_store", "main");
    Settings.first_start = first_start;
    Open_select_window();
    Run_for(1100);
    Click_button("m_select", card);
  }
};

TEST_F(Windows, EveryWindowTakesTheClicksMeantForThePuzzleBehindIt) {
  for (auto open : {Open_exit_window, Open_break_window, Open_main_menu, Open_help_window}) {
    Reset_runtime();
    Main_object = new Object("Main_store", "main");
    selected_piece.clear();
    Show_current_puzzle();
    Run_for(1300);
    Move_piece("Shape1", 2, 0);
    open();
    Run_for(1100);
    Click_at(2, 0, 63);
    EXPECT_TRUE(selected_piece.empty());
  }
  // With no window the same click picks the piece up.
  Reset_runtime();
  Main_object = new Object("Main_store", "main");
  Show_current_puzzle();
  Run_for(1300);
  Move_piece("Shape1", 2, 0);
  Frame();
  Click_at(2, 0, 63);
  EXPECT_EQ(selected_piece, "Shape1");
}

TEST_F(Windows, CancelClickedTwiceStartsOneFadeOutAndTheWindowIsGoneASecondLater) {
  Open_exit_window();
  Run_for(1100);
  Click_button("m_exit", "bcancel_draw");
  double fade_started = Window_fun("m_exit", "long_hide")["TIME"].value.number;
  Click_button("m_exit", "bcancel_draw");
  EXPECT_EQ(Window_fun("m_exit", "long_hide")["TIME"].value.number, fade_started);
  Run_for(900);
  EXPECT_TRUE(Open("m_exit"));
  Run_for(200);
  EXPECT_FALSE(Open("m_exit"));
  Click_at(2, 0, 63);
  EXPECT_EQ(selected_piece, "Shape1");
}

TEST_F(Windows, AboutOpensBehindTheMainMenusFadeOutAndASecondClickOpensNothing) {
  Open_main_menu();
  Run_for(1100);
  Click_button("m_menu", "babout_draw");
  ASSERT_TRUE(Open("m_about"));
  Object* about = Global_env["z_Int_store"]["m_about"].get();
  EXPECT_TRUE(Has_fun_param(Global_env["z_Int_store"]["m_menu"].get(), "long_hide", "OPTICALY"));
  // The about window stays invisible while the menu fades out.
  Run_for(500);
  EXPECT_EQ(Window_fun("m_about", "long_view")["OPTICALY"].value.number, 0.0);
  Click_button("m_menu", "babout_draw");
  EXPECT_EQ(Global_env["z_Int_store"]["m_about"].get(), about);  // not replaced
  Run_for(600);
  EXPECT_FALSE(Open("m_menu"));
  Run_for(1100);
  Param_map& fade = Window_fun("m_about", "long_view");  // fully faded in
  EXPECT_TRUE(fade.count("OPTICALY") == 0 || fade["OPTICALY"].value.number >= 1.0);
  Click_button("m_about", "bok_draw");
  Run_for(1100);
  EXPECT_FALSE(Open("m_about"));
}

TEST_F(Windows, BreakAllWindowFollowsTheMainMenuTheSameWay) {
  Open_main_menu();
  Run_for(1100);
  Click_button("m_menu", "bbreak_draw");
  EXPECT_TRUE(Open("m_breaks"));
  EXPECT_EQ(Window_fun("m_breaks", "bbreak_draw")["MODEL_1"].text, "break_menu.pak");
  Run_for(1100);
  EXPECT_FALSE(Open("m_menu"));
}

TEST_F(Windows, MainMenuSwitchesShowTheSettings) {
  Settings.sound_flag = 0;
  Settings.music_flag = 1;
  Settings.piece_mode = 2;
  Open_main_menu();
  EXPECT_EQ(Window_fun("m_menu", "bsound_draw")["MODEL_1"].text2, "clean.3DS");
  EXPECT_EQ(Window_fun("m_menu", "bmusic_draw")["MODEL_1"].text2, "sound.3DS");
  EXPECT_EQ(Window_fun("m_menu", "b20pc_draw")["MODEL_1"].text2, "clean.3DS");
  EXPECT_EQ(Window_fun("m_menu", "b48pc_draw")["MODEL_1"].text2, "diff.3DS");
  Settings.piece_mode = 3;
  Open_main_menu();  // replaces the open one
  EXPECT_EQ(Window_fun("m_menu", "b20pc_draw")["MODEL_1"].text2, "clean.3DS");
  EXPECT_EQ(Window_fun("m_menu", "b48pc_draw")["MODEL_1"].text2, "clean.3DS");
}

TEST_F(Windows, FirstPieceCountChoiceOpensHelpASecondLater) {
  Choose_piece_count(1, "m_heigh_draw");
  EXPECT_EQ(Settings.piece_mode, 2u);
  ASSERT_TRUE(Open("m_help"));
  EXPECT_TRUE(Is_object_in_global_store("puzzle0.pak", "Shape68"));
  Run_for(900);
  EXPECT_EQ(Window_fun("m_help", "long_view")["OPTICALY"].value.number, 0.0);
  Run_for(600);
  EXPECT_GT(Window_fun("m_help", "long_view")["OPTICALY"].value.number, 0.2);
  // Its close button closes it.
  Run_for(1000);
  Click_button("m_help", "bclose_draw");
  Run_for(1100);
  EXPECT_FALSE(Open("m_help"));
}

TEST_F(Windows, LaterPieceCountChoicesOpenNoHelp) {
  Choose_piece_count(0, "m_low_draw");
  EXPECT_EQ(Settings.piece_mode, 1u);
  EXPECT_FALSE(Open("m_help"));
  EXPECT_TRUE(Is_object_in_global_store("puzzle0.pak", "Shape20"));
}

}  // namespace
