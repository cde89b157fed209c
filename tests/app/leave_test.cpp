// Leaving the game: the exit window's OK, and a link held for two seconds. Each plays in a
// child process, which the game ends with status 1 after saving; a stand-in browser opener
// first on PATH records what it was asked to open. (Death tests run before the others, while
// this process has no window of its own to hand down.)
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "scenes/links.h"
#include "support/game.h"

namespace {

class LeaveDeathTest : public Game_test {
 protected:
  void SetUp() override {
    home = Use_temp_home();
    Write_file(home + "/xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" + home + "/opened\"\n");
    chmod((home + "/xdg-open").c_str(), 0755);
    setenv("PATH", (home + ":" + std::getenv("PATH")).c_str(), 1);
  }
  void TearDown() override {}
  // In the child: a returning player's game with 48 pieces chosen (the file says 20), then
  // `leave`; the game must end the process with status 1 and have saved the choice.
  void Leave(const std::function<void()>& leave) {
    EXPECT_EXIT(
        {
          Game_test::SetUp();
          Played_before();
          Boot(2);
          leave();
          std::exit(0);
        },
        ::testing::ExitedWithCode(1), "");
    const std::string saved = Read_file(Settings_file());
    ASSERT_EQ(saved.size(), 80u);
    EXPECT_EQ(saved[4 + 32], 2);
  }
  std::string Opened() { return Read_file(home + "/opened"); }
};

TEST_F(LeaveDeathTest, TheExitWindowsOkSavesAndEndsWithStatus1) {
  Leave([&] {
    Tap_drawing({"Int_butt", "bclose", "bclose_draw"});
    Run_for(1300);
    Tap_drawing({"z_Int_store", "m_exit", "bok_draw"});
    Run_for(500);
  });
  EXPECT_EQ(Opened(), "");
}

TEST_F(LeaveDeathTest, ALinkHeldForTwoSecondsOpensItsAddressSavesAndEndsWithStatus1) {
  Link_addresses = {"https://home.example.test/shore", "https://birds.example.test/sb", ""};
  Leave([&] {
    Tap_drawing({"Int_butt", "bmenu", "bmenu_draw"});
    Run_for(1300);
    Param_map& link = Params({"z_Int_store", "m_menu", "bvisit_draw"});
    Push_press_at(link["POS_X"].value.number, link["POS_Y"].value.number, link["POS_Z"].value.number);
    Run_for(1900);
    Write_file(home + "/still_here", "");
    Run_for(300);
  });
  EXPECT_EQ(access((home + "/still_here").c_str(), F_OK), 0) << "it left before two seconds";
  EXPECT_EQ(Opened(),
            "1|https://home.example.test/shore?utm_source=software&utm_medium=shorebound_linux"
            "&utm_term=prog&utm_content=1.0.2&utm_campaign=shorebound_linux");
}

}  // namespace
