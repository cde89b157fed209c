// Frames of the test's own objects below the root, drawn by the render layer alone (no
// sounds), on the test clock, with the real input events waiting in SDL's queue.
#pragma once
#include <SDL.h>

#include <string>

#include "platform/input.h"
#include "render/draw.h"
#include "runtime/process.h"
#include "support/window.h"

// The window, no objects but an empty root, no events or pointer state, the clock at 0.
inline void Start_scene() {
  Ensure_window();
  Destroy_all_objects();
  Forget_input();
  Use_test_clock(0);
  Create_main_object();
}

// Advances the clock by `ms`, hands the waiting events to the input record, draws a frame.
inline void Step(double ms = 16) {
  test_now += ms;
  bool any;
  Handle_pending_events(any);
  Begin_frame();
  Draw_tree(Main_object);
  Sweep_global_store();
  Input_frame_done();
}

// Steps 16 ms frames until `ms` have passed.
inline void Run_for(double ms) {
  for (double end = test_now + ms; test_now < end;) Step();
}

// An object below the root whose drawing function (started on its after-list) draws one
// model of "test.pak"; its parameters.
inline Param_map& Drawn(const std::string& name, const char* fun, Callback callback,
                        const char* model) {
  Param_map& params = Add_started_function(new Object("test", name), fun, callback, After_list);
  params["MODEL_1"].text = "test.pak";
  params["MODEL_1"].text2 = model;
  Link_object(Main_object, "test", name);
  return params;
}
