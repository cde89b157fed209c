// Fades: opacity over wall-clock time for windows, the loader, the cursor and the preview,
// and Start_hide, the standard one-second fade-out that closes a window.
#include "behaviours/fades.h"

#include <GL/gl.h>

#include "puzzle/catalogue.h"
#include "runtime/params.h"
#include "runtime/process.h"
#include "scenes/game_screen.h"
#include "shell/clock.h"

// Everything the object draws until its closer runs is blended with this opacity.
static void Show_with_opacity(double opacity) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, static_cast<float>(opacity));
}

// A finished fade-in takes itself and its closer away after this frame's after-list.
static void Remove_fade_in(Object* object) {
  Queue_remove_function(object, object->fun_name);
  Queue_remove_function(object, "long_view_end");
}

void Fade_in() {
  Param_map& params = Current_params(Current_object);
  double now = Clock_ms();
  double& opacity = params["OPTICALY"].value.number;
  if (!(opacity < 1.0)) return;
  opacity = (now - params["TIME"].value.number) * 0.001;
  if (opacity > 1.0) {
    opacity = 1.0;
    Remove_fade_in(Current_object);
  }
  Show_with_opacity(opacity);
}

void Fade_in_delayed() {
  Param_map& params = Current_params(Current_object);
  double elapsed = Clock_ms() - params["TIME"].value.number;
  double& opacity = params["OPTICALY"].value.number;
  if (opacity < 1.0 && elapsed > 1000.0) {
    opacity = (elapsed - 1000.0) * 0.001;
    if (opacity > 1.0) {
      opacity = 1.0;
      Remove_fade_in(Current_object);
    }
  }
  Show_with_opacity(opacity);
}

void Loader_fade_in() {
  Object* loader = Current_object;
  Param_map& params = Current_params(loader);
  double now = Clock_ms();
  double& opacity = params["OPTICALY"].value.number;
  if (opacity > 1.0) return;
  double elapsed = now - params["TIME"].value.number;
  opacity = elapsed * 0.0008;
  if (opacity >= 1.0) {
    opacity = 1.0;
    // Only the first call decodes anything; later ones find every picture in place.
    Preload_puzzle_images();
    if (elapsed > 5000.0) {
      Start_function_before(loader, "long_hide");
      Param_map& hide = Get_function_params(loader, "long_hide");
      hide["OPTICALY"].value.number = 1.0;
      hide["TIME"].value.number = Clock_ms();
      Start_function_after(loader, "long_hide_end");
      Remove_fade_in(loader);
    }
  }
  Show_with_opacity(opacity);
}

// The fade-out of Fade_out and Loader_fade_out; `on_end` runs just before the object ends.
static void Fade_out_then(void (*on_end)()) {
  Object* object = Current_object;
  Param_map& params = Current_params(object);
  double now = Clock_ms();
  if (params["OPTICALY"].value.number < 0.0) return;
  double opacity = 1.0 - (now - params["TIME"].value.number) * 0.001;
  bool done = opacity < 0.0;
  if (done) opacity = 0.0;
  params["OPTICALY"].value.number = opacity;
  if (done) {
    if (on_end != nullptr) on_end();
    End_object(object);
  }
  Show_with_opacity(opacity);
}

void Fade_out() { Fade_out_then(nullptr); }

void Loader_fade_out() { Fade_out_then(Build_game_screen); }

void Fade_close() {
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
}

bool Start_hide() {
  Object* object = Current_object;
  if (Has_fun_param(object, "long_hide", "OPTICALY")) return false;
  Add_function(object, "long_hide", Fade_out);
  Start_function_before(object, "long_hide");
  Param_map& hide = Get_function_params(object, "long_hide");
  hide["TIME"].value.number = Clock_ms();
  hide["OPTICALY"].value.number = 1.0;
  Add_function(object, "long_hide_end", Fade_close);
  Start_function_after(object, "long_hide_end");
  return true;
}

void Start_hide_click() { Start_hide(); }

void Add_fade_in(Object* object, Callback fade) {
  Add_function(object, "long_view", fade);
  Start_function_before(object, "long_view");
  Param_map& params = Get_function_params(object, "long_view");
  params["OPTICALY"].value.number = 0.0;
  params["TIME"].value.number = Clock_ms();
}
