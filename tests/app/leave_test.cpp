// Leaving the game: the exit window's OK, and every link held for two seconds (the loader's
// three, the main menu's). Each plays in a child process, which the game ends with status 1
// after saving; a stand-in browser opener first on PATH records what it was asked to open.
// (Death tests run before the others, while this process has no window of its own.)
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "scenes/links.h"
#include "support/game.h"

namespace {

class LeaveDeathTest : public Game_test {
 protected:
  void SetUp() override {
    home = Use_temp_home();
    // The opener outlives the game: it writes its record whole, and the test waits for it.
    Write_file(home + "/xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" + home + "/part\" && mv \"" +
                                       home + "/part\" \"" + home + "/opened\"\n");
    chmod((home + "/xdg-open").c_str(), 0755);
    setenv("PATH", (home + ":" + std::getenv("PATH")).c_str(), 1);
    Link_addresses = {"https://home.example.test/shore", "https://birds.example.test/sb", "https://faces.example.test/sb"};
  }
  void TearDown() override {}
  // In a child: a returning player's game, left by `leave`, must end with status 1. In the game
  // (`in_game`), 48 pieces are chosen first (the file says 20) and must be saved; from the
  // loader, the file stays as it was. Returns what the opener was asked to open.
  std::string Leave(bool in_game, const std::function<void()>& leave) {
    for (const char* note : {"/opened", "/still_here"}) unlink((home + note).c_str());
    EXPECT_EXIT(
        {
          Game_test::SetUp();
          Played_before();
          in_game ? Boot(2) : (Build_boot_scene(Shut_down), Run_for(1300));  // the loader stands
          leave();
          std::exit(0);
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(Read_file(Settings_file())[4 + 32], in_game ? 2 : 1);
    for (int i = 0; i < 100 && access((home + "/opened").c_str(), F_OK) != 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return Read_file(home + "/opened");
  }
  // Holds a link down for 2.2 s; a note left after 1.9 s shows that it did not act earlier.
  void Hold(const Target& link) {
    Param_map& at = Params(link);
    ASSERT_NO_FATAL_FAILURE(Point_at(at["POS_X"].value.number, at["POS_Y"].value.number, at["POS_Z"].value.number, &link));
    Push_button(true, px, py);
    Run_for(1900);
    Write_file(home + "/still_here", "");
    Run_for(300);
  }
};

TEST_F(LeaveDeathTest, TheExitWindowsOkAndEveryLinkHeldForTwoSecondsSaveAndEndWithStatus1) {
  EXPECT_EQ(Leave(true, [&] { Press("bclose", "bclose_draw", 1300), Press("m_exit", "bok_draw", 500); }), "");
  const std::string site = "https://home.example.test/shore?utm_source=software&utm_medium=shorebound_linux"
                           "&utm_term=prog&utm_content=1.0.2&utm_campaign=shorebound_linux";
  EXPECT_EQ(Leave(true, [&] { Press("bmenu", "bmenu_draw", 1300), Hold({"z_Int_store", "m_menu", "bvisit_draw"}); }), "1|" + site);
  EXPECT_EQ(access((home + "/still_here").c_str(), F_OK), 0) << "it left before two seconds";
  for (const auto& [fun, address] : {std::pair<const char*, std::string>{"website_draw", site},
                                     {"twitter_draw", Link_addresses.twitter}, {"fbook_draw", Link_addresses.facebook}})
    EXPECT_EQ(Leave(false, [&, fun = fun] { Hold({"z_Int_store", "loader", fun}); }), "1|" + address) << fun;
}

}  // namespace
