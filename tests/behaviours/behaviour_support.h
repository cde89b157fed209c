// Shared set-up of the behaviour tests: a root object, frames at chosen clock readings, the
// pointer driven through real input events, probes that record GL state inside a frame, and
// the click sounds through OpenAL's silent driver.
#pragma once
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

#include "app/frame.h"
#include "audio/sound.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "render/draw.h"
#include "resources/pack.h"
#include "resources/writer.h"
#include "runtime/object.h"
#include "runtime/process.h"
#include "support/scene.h"
#include "support/support.h"

// What a probe function saw in its last run, kept by the probe's function name.
struct Gl_seen {
  float color[4] = {0, 0, 0, 0};
  bool blend = false;
  float matrix[16] = {0};
  int runs = 0;
};

inline std::map<std::string, Gl_seen>& Seen() {
  static std::map<std::string, Gl_seen> seen;
  return seen;
}

// Registered under any name on a run list: records colour, blending and model-view matrix.
inline void Probe() {
  Gl_seen& seen = Seen()[Current_object->fun_name];
  glGetFloatv(GL_CURRENT_COLOR, seen.color);
  seen.blend = glIsEnabled(GL_BLEND) == GL_TRUE;
  glGetFloatv(GL_MODELVIEW_MATRIX, seen.matrix);
  ++seen.runs;
}

// How many sounds of this entry of "music.pak" are playing.
inline int Playing(const std::string& entry) {
  const unsigned char* wav = Get_data_from_data_store("music.pak", entry).pos;
  return static_cast<int>(std::count_if(sample_list.begin(), sample_list.end(),
                                         [&](const sample* s) { return s->wav == wav; }));
}

inline bool On_list(const std::vector<std::string>& list, const std::string& name) {
  return std::count(list.begin(), list.end(), name) != 0;
}

// One frame of the game with the clock reading `ms`.
inline void Frame_at(double ms) {
  Set_test_clock(ms);
  Run_frame();
}

// A new object below the root; its functions run from the second frame after this.
inline Object* Linked(const std::string& store, const std::string& name) {
  Object* object = new Object(store, name);
  Link_object(Main_object, store, name);
  return object;
}
inline Param_map& Start_before(Object* object, const std::string& fun, Callback callback) {
  Add_function(object, fun, callback);
  Start_function_before(object, fun);
  return Get_function_params(object, fun);
}
inline Param_map& Start_after(Object* object, const std::string& fun, Callback callback) {
  Add_function(object, fun, callback);
  Start_function_after(object, fun);
  return Get_function_params(object, fun);
}
inline void Set_model(Param_map& params, const std::string& model) {
  params["MODEL_1"].text = "test.pak";
  params["MODEL_1"].text2 = model;
}

// The pointer moves to a window pixel, as the event loop reports it.
inline void Move_to_pixel(int px, int py) {
  SDL_Event event = {};
  event.type = SDL_MOUSEMOTION;
  event.motion.x = static_cast<Uint16>(px);
  event.motion.y = static_cast<Uint16>(py);
  Handle_event(event);
}
// The pointer moves to the pixel that shows the world point.
inline void Move_to(double x, double y, double z) {
  int px, py;
  Pixel_of(x, y, z, px, py);
  Move_to_pixel(px, py);
}
// A quick left click where the pointer is: press and release in one burst of events.
inline void Click() {
  SDL_Event event = {};
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button.button = SDL_BUTTON_LEFT;
  event.button.x = static_cast<Uint16>(Mouse_state.x);
  event.button.y = static_cast<Uint16>(Mouse_state.y);
  Handle_event(event);
  event.type = SDL_MOUSEBUTTONUP;
  Handle_event(event);
}

// The sound system on OpenAL's silent driver, with long silent click sounds in "music.pak"
// so that a started sound is still listed when the test looks.
inline void Open_silent_sound() {
  const std::string ten_seconds(22050 * 2 * 10, '\0');
  const std::string wav = Wav_bytes(ten_seconds, 1, 22050, 16);
  Write_file(Resource_dir + "music.pak",
             Pack_record("button.wav", wav) + Pack_record("puzzle_up.wav", wav));
  setenv("ALSOFT_DRIVERS", "null", 1);
  Sound_ptr = new Sound_system;
  Open_sound_system(Sound_ptr);
  ASSERT_EQ(Sound_ptr->failed, 0);
}

// Every test: the real window, a fresh runtime with a root object, the test clock at 0, the
// models of "test.pak", a still pointer; afterwards the sound system is closed.
class Behaviour : public ::testing::Test {
 protected:
  void SetUp() override {
    Ensure_video();
    Reset_runtime();
    Write_test_models();
    Use_test_clock(0);
    Main_object = new Object("Main_store", "main");
    Mouse_state = Mouse_record();
    Seen().clear();
  }
  void TearDown() override {
    Reset_runtime();
    if (Sound_ptr != nullptr) {
      Stop_sounds();
      Close_sound_system(Sound_ptr);
      delete Sound_ptr;
      Sound_ptr = nullptr;
    }
  }
};
