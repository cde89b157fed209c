// The scenes alone on the real packs and real GL, stepped on the test clock: the loader's
// timing, which every game begins with.
#include <gtest/gtest.h>

#include "audio/sound.h"
#include "resources/pack.h"
#include "runtime/params.h"
#include "scenes/boot.h"
#include "state/session.h"
#include "support/files.h"
#include "support/frames.h"

namespace {

TEST(Scenes, TheLoaderFadesInStaysFiveSecondsAndGivesWayToTheGameScreenASecondLater) {
  Start_scene();
  Reset_game_state();
  Resource_dir = SHOREBOUND_BINARY_DIR "/Resources/";
  Use_temp_home();
  Destroy_all_objects();
  Build_boot_scene(nullptr);
  Object* loader = Global_env["z_Int_store"]["loader"].get();
  Step(0), Step(625);
  EXPECT_EQ(Get_function_params(loader, "long_view")["OPTICALY"].value.number, 0.5);
  double hiding = 0;
  while (!Is_object_in_global_store("A_Int_store", "fon") && test_now < 10000) {
    Step();
    if (hiding == 0 && Has_fun_param(loader, "long_hide", "OPTICALY")) hiding = test_now;
  }
  EXPECT_GT(hiding, 5000);  // the first frame after five seconds
  EXPECT_LE(hiding, 5000 + 16);
  EXPECT_GT(test_now, hiding + 1000);  // and a second of fading out
  EXPECT_LE(test_now, hiding + 1000 + 16);
  Destroy_all_objects();
  End_sound_system();
}

}  // namespace
