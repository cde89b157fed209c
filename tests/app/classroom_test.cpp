// Classroom mode, asked for by the system-wide file or by the command line: no exit button on
// the game screen, no links on the loader or in the menu, no "break all" in the menu; Meta+Q,
// Super+Q and a Ctrl+Q let go early do nothing, and only Ctrl+Q held for two seconds leaves,
// through the event loop. (tests/e2e/startup.sh holds the real keys.)
#include "app/options.h"
#include "audio/loudness.h"
#include "platform/config.h"
#include "scenes/links.h"
#include "support/game.h"

namespace {

TEST_F(Game_test, ClassroomFromTheFileOrTheOptionLeavesAChildNoWayOutButAGrownUpsHeldCtrlQ) {
  const Link_record build_links = Link_addresses;
  Link_addresses = {"https://home.example.test/", "https://birds.example.test/", "https://faces.example.test/"};
  const std::string system = home + "/shorebound.conf";
  Write_file(system, "classroom = yes\nmusic-volume = 50\n");
  char name[] = "shorebound", option[] = "--classroom";
  char* argv[] = {name, option};
  for (const bool from_file : {true, false}) {
    SCOPED_TRACE(from_file ? "from the file" : "from the option");
    bool windowed = true;
    ASSERT_EQ(Read_options(from_file ? 1 : 2, argv, windowed, from_file ? system : home + "/none"), -1);
    Played_before();
    Build_boot_scene(Shut_down);
    Object* loader = Global_env["z_Int_store"]["loader"].get();
    for (const char* link : {"website_draw", "twitter_draw", "fbook_draw"}) EXPECT_EQ(loader->functions.count(link), 0u) << link;
    Run_for(7500);
    Press("m_select", Piece_set_of(1).card_fun, 2000);
    EXPECT_FALSE(Is_object_in_global_store("Int_butt", "bclose"));
    const float music_gain = Music_gain * (from_file ? 0.5f : 1.0f);  // the file's volume, or the full one
    EXPECT_EQ(std::count_if(sample_list.begin(), sample_list.end(), [&](const sample* s) { return s->looping && s->gain == music_gain; }), 1);
    Press("bmenu", "bmenu_draw", 1100);
    ASSERT_TRUE(Is_object_in_global_store("z_Int_store", "m_menu"));
    const auto& menu = Global_env["z_Int_store"]["m_menu"]->functions;
    EXPECT_TRUE(menu.count("babout_draw") == 1 && menu.count("bvisit_draw") == 0 && menu.count("bbreak_draw") == 0);
    // Meta+Q and Super+Q pressed, and Ctrl+Q let go after 1.9 s: nobody leaves.
    SDL_Event ctrl_q = Key_event(SDL_KEYDOWN, SDLK_q, KMOD_LCTRL), ctrl_up = Key_event(SDL_KEYUP, SDLK_LCTRL);
    for (SDL_Event event : {Key_event(SDL_KEYDOWN, SDLK_q, KMOD_RMETA), Key_event(SDL_KEYDOWN, SDLK_LSUPER),
                            Key_event(SDL_KEYDOWN, SDLK_q), Key_event(SDL_KEYUP, SDLK_LSUPER), ctrl_q})
      SDL_PushEvent(&event);
    Run_for(1900);
    SDL_PushEvent(&ctrl_up);
    Run_for(2500);
    EXPECT_FALSE(quit_asked);
    SDL_PushEvent(&ctrl_q);  // held
    Run_for(1950);
    EXPECT_FALSE(quit_asked);
    Run_for(100);
    EXPECT_TRUE(quit_asked);
    TearDown(), SetUp(), quit_asked = false;
  }
  Config = Config_record(), Link_addresses = build_links;
}

}  // namespace
