// Fades frame by frame on the test clock: opacity at chosen times, the frame in which a fade
// takes itself away or ends its object, the loader's preload and switch, and Start_hide.
#include <gtest/gtest.h>

#include <vector>

#include "behaviour_support.h"
#include "behaviours/buttons.h"
#include "behaviours/fades.h"
#include "resources/pack.h"
#include "scenes/boot.h"

namespace {

// A window below the root: the fade under `fade_name` on the before-list, then on the
// after-list its model, a probe, the closer and a probe behind the closer.
Object* Window(const std::string& name, const std::string& fade_name, Callback fade,
               double opacity, double time) {
  Object* window = Linked("S", name);
  Param_map& params = Start_before(window, fade_name, fade);
  params["OPTICALY"].value.number = opacity;
  params["TIME"].value.number = time;
  Set_model(Start_after(window, "draw", Draw_obj), "quad.3DS");
  Start_after(window, "probe", Probe);
  Start_after(window, fade_name + "_end", Fade_close);
  Start_after(window, "after_close", Probe);
  return window;
}
double Opacity(Object* object, const std::string& fade_name) {
  return Get_function_params(object, fade_name)["OPTICALY"].value.number;
}
bool Has_fade(Object* object, const std::string& fade_name) {
  return object->functions.count(fade_name) != 0 && On_list(object->before_list, fade_name);
}
bool Has_closer(Object* object, const std::string& closer) {
  return object->functions.count(closer) != 0 && On_list(object->after_list, closer);
}

using Fades = Behaviour;

TEST_F(Fades, FadeInRisesOverASecondAndRemovesItselfInTheFirstFrameAboveOne) {
  Object* window = Window("win", "long_view", Fade_in, 0.0, 1000);
  Frame_at(1000);  // applies the queues
  Frame_at(1000);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.0f);
  EXPECT_TRUE(Seen()["probe"].blend);
  EXPECT_EQ(Red_at_world(0, 0, 0), 0);
  // The closer leaves opaque white and no blending for what follows.
  EXPECT_FLOAT_EQ(Seen()["after_close"].color[3], 1.0f);
  EXPECT_FALSE(Seen()["after_close"].blend);

  Frame_at(1250);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.25f);
  EXPECT_NEAR(Red_at_world(0, 0, 0), 64, 2);
  Frame_at(1750);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.75f);

  Frame_at(1999);
  EXPECT_DOUBLE_EQ(Opacity(window, "long_view"), 0.999);
  EXPECT_TRUE(Has_fade(window, "long_view"));
  EXPECT_TRUE(Has_closer(window, "long_view_end"));

  Frame_at(2001);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 1.0f);
  EXPECT_EQ(Red_at_world(0, 0, 0), 255);
  EXPECT_EQ(Seen()["after_close"].runs, 5);  // the closer still ran in the last frame
  EXPECT_EQ(window->functions.count("long_view"), 0u);
  EXPECT_EQ(window->functions.count("long_view_end"), 0u);
  EXPECT_TRUE(window->before_list.empty());
  EXPECT_EQ(window->after_list, (std::vector<std::string>{"draw", "probe", "after_close"}));

  Frame_at(3000);
  EXPECT_EQ(Red_at_world(0, 0, 0), 255);
  EXPECT_TRUE(Is_object_in_global_store("S", "win"));
}

TEST_F(Fades, FadeInFirstRunLateIsClampedAndFinishedInThatFrame) {
  Object* window = Window("win", "long_view", Fade_in, 0.0, 0);
  Frame_at(0);
  Frame_at(2500);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 1.0f);
  EXPECT_EQ(Red_at_world(0, 0, 0), 255);
  EXPECT_EQ(window->functions.count("long_view"), 0u);
  EXPECT_EQ(window->functions.count("long_view_end"), 0u);
}

TEST_F(Fades, DelayedFadeInIsInvisibleForTheFirstSecondInclusiveThenFadesIn) {
  Object* window = Window("win", "long_view", Fade_in_delayed, 0.0, 0);
  Frame_at(0);
  for (double ms : {0.0, 500.0, 999.0, 1000.0}) {
    Frame_at(ms);
    EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.0f) << ms;
    EXPECT_TRUE(Seen()["probe"].blend) << ms;
    EXPECT_EQ(Red_at_world(0, 0, 0), 0) << ms;
  }
  Frame_at(1001);
  EXPECT_NEAR(Seen()["probe"].color[3], 0.001f, 1e-6);
  Frame_at(1500);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.5f);
  EXPECT_NEAR(Red_at_world(0, 0, 0), 128, 2);
  Frame_at(1999);
  EXPECT_DOUBLE_EQ(Opacity(window, "long_view"), 0.999);
  EXPECT_TRUE(Has_fade(window, "long_view"));
  Frame_at(2001);
  EXPECT_EQ(Red_at_world(0, 0, 0), 255);
  EXPECT_EQ(window->functions.count("long_view"), 0u);
  EXPECT_EQ(window->functions.count("long_view_end"), 0u);
}

// The loader as the boot scene makes it: its fade-out registered but not started.
class Loader : public Behaviour {
 protected:
  Object* loader = nullptr;
  void SetUp() override {
    Behaviour::SetUp();
    // One puzzle pack that the preload can load; the others are missing and reported.
    Write_file(Resource_dir + "puzzle0.pak", Pack_record("note.txt", "x"));
    loader = Window("loader", "long_view", Loader_fade_in, 0.0, 0);
    Add_function(loader, "long_hide", Loader_fade_out);
    Add_function(loader, "long_hide_end", Fade_close);
  }
  // Runs a frame; the number of preload calls in it (each reports the missing pack).
  static int Preloads_in_frame(double ms) {
    testing::internal::CaptureStdout();
    Frame_at(ms);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string line = "Pack file <puzzle1.pak> no found!";
    int count = 0;
    for (size_t at = out.find(line); at != std::string::npos; at = out.find(line, at + 1)) ++count;
    return count;
  }
};

TEST_F(Loader, PreloadsOnlyOnceOpaqueAndHidesInTheFirstFrameAfterFiveSeconds) {
  Frame_at(0);
  EXPECT_EQ(Preloads_in_frame(0), 0);
  EXPECT_EQ(Preloads_in_frame(1000), 0);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.8f);
  EXPECT_EQ(Preloads_in_frame(1249), 0);
  EXPECT_EQ(Global_data.count("puzzle0.pak"), 0u);
  // Opaque at 1250 ms: from now on the preload runs in every frame until the switch.
  EXPECT_EQ(Preloads_in_frame(1250), 1);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 1.0f);
  EXPECT_EQ(Global_data.count("puzzle0.pak"), 1u);
  EXPECT_EQ(Preloads_in_frame(3000), 1);
  EXPECT_EQ(Preloads_in_frame(5000), 1);
  EXPECT_TRUE(Has_fade(loader, "long_view"));
  EXPECT_FALSE(On_list(loader->before_list, "long_hide"));

  EXPECT_EQ(Preloads_in_frame(5001), 1);
  EXPECT_EQ(loader->before_list, (std::vector<std::string>{"long_hide"}));
  EXPECT_TRUE(Has_closer(loader, "long_hide_end"));
  EXPECT_EQ(loader->functions.count("long_view"), 0u);
  EXPECT_EQ(loader->functions.count("long_view_end"), 0u);
  EXPECT_EQ(Opacity(loader, "long_hide"), 1.0);
  EXPECT_EQ(Get_function_params(loader, "long_hide")["TIME"].value.number, 5001.0);

  // The fade-out: no more preloading; ends the loader in the first frame below zero.
  EXPECT_EQ(Preloads_in_frame(5101), 0);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.9f);
  EXPECT_TRUE(Seen()["probe"].blend);
  Frame_at(5501);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.5f);
  Frame_at(6001);
  EXPECT_EQ(Opacity(loader, "long_hide"), 0.0);
  EXPECT_TRUE(Is_object_in_global_store("S", "loader"));
  Frame_at(6002);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.0f);
  EXPECT_EQ(Red_at_world(0, 0, 0), 0);
  EXPECT_FALSE(Is_object_in_global_store("S", "loader"));
}

TEST_F(Loader, FirstFrameAfterFiveSecondsPreloadsAndSwitchesAtOnce) {
  Frame_at(0);
  EXPECT_EQ(Preloads_in_frame(7000), 1);
  EXPECT_EQ(loader->before_list, (std::vector<std::string>{"long_hide"}));
  EXPECT_EQ(Get_function_params(loader, "long_hide")["TIME"].value.number, 7000.0);
}

std::vector<bool> hide_results;
int hides_wanted = 0;
// A function of the window that calls Start_hide as often as the test asks.
void Hide_when_asked() {
  for (; hides_wanted > 0; --hides_wanted) hide_results.push_back(Start_hide());
}

TEST_F(Fades, SecondStartHideFindsTheFadeOutUnderWayAndChangesNothing) {
  hide_results.clear();
  Object* window = Linked("S", "win");
  Start_before(window, "hider", Hide_when_asked);
  Start_after(window, "probe", Probe);
  Frame_at(0);
  hides_wanted = 2;
  Frame_at(100);
  EXPECT_EQ(hide_results, (std::vector<bool>{true, false}));
  EXPECT_EQ(std::count(window->before_list.begin(), window->before_list.end(), "long_hide"), 1);
  EXPECT_EQ(std::count(window->after_list.begin(), window->after_list.end(), "long_hide_end"), 1);
  EXPECT_EQ(Get_function_params(window, "long_hide")["TIME"].value.number, 100.0);
  EXPECT_EQ(Opacity(window, "long_hide"), 1.0);

  hides_wanted = 1;
  Frame_at(600);
  EXPECT_EQ(hide_results, (std::vector<bool>{true, false, false}));
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.5f);
  EXPECT_EQ(Get_function_params(window, "long_hide")["TIME"].value.number, 100.0);

  Frame_at(1100);
  EXPECT_TRUE(Is_object_in_global_store("S", "win"));
  Frame_at(1101);
  EXPECT_FALSE(Is_object_in_global_store("S", "win"));
}

int clicks_seen = 0;
void Count_then_hide() {
  ++clicks_seen;
  Start_hide_click();
}

TEST_F(Fades, CloseButtonDuringTheFadeInFadesOutFromFullOpacityAndItsColourWins) {
  clicks_seen = 0;
  Object* window = Linked("S", "win");
  Param_map& fade = Start_before(window, "long_view", Fade_in);
  fade["OPTICALY"].value.number = 0.0;
  fade["TIME"].value.number = 0.0;
  Param_map& close = Start_after(window, "bclose_draw", Draw_button);
  Set_model(close, "quad.3DS");
  close["POS_Z"].value.number = 10;
  close["FUN"].value.callback = Count_then_hide;
  Start_after(window, "probe", Probe);
  Start_after(window, "long_view_end", Fade_close);
  Frame_at(0);
  Frame_at(0);
  Move_to(0, 0, 10);
  Frame_at(100);
  Click();
  Frame_at(200);  // picking sees the click
  EXPECT_EQ(clicks_seen, 0);
  Frame_at(300);  // the button calls Start_hide
  EXPECT_EQ(clicks_seen, 1);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.3f);
  EXPECT_EQ(Get_function_params(window, "long_hide")["TIME"].value.number, 300.0);

  Frame_at(400);  // fade-in at 0.4, fade-out at 0.9
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.9f);
  EXPECT_DOUBLE_EQ(Opacity(window, "long_view"), 0.4);
  Frame_at(1001);  // the fade-in finishes; the fade-out goes on
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.299f);
  EXPECT_EQ(window->functions.count("long_view"), 0u);
  EXPECT_EQ(window->functions.count("long_view_end"), 0u);
  EXPECT_TRUE(Has_closer(window, "long_hide_end"));
  Frame_at(1300);
  EXPECT_TRUE(Is_object_in_global_store("S", "win"));
  Frame_at(1301);
  EXPECT_FLOAT_EQ(Seen()["probe"].color[3], 0.0f);
  EXPECT_FALSE(Is_object_in_global_store("S", "win"));
  EXPECT_EQ(clicks_seen, 1);
}

}  // namespace
