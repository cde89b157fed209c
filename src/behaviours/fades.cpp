// Fades: opacity over wall-clock time for windows, the cursor and the preview,
// and Start_hide, the standard one-second fade-out that closes a window.
#include "behaviours/fades.h"

#include <GL/gl.h>

#include "platform/clock.h"
#include "runtime/params.h"
#include "runtime/process.h"

void Show_with_opacity(double opacity) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, static_cast<float>(opacity));
}

void Remove_fade_in(Object* object) {
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
  if (opacity < 1.0 && elapsed <= 1000.0) Wake_by(params["TIME"].value.number + 1000.0);
  if (opacity < 1.0 && elapsed > 1000.0) {
    opacity = (elapsed - 1000.0) * 0.001;
    if (opacity > 1.0) {
      opacity = 1.0;
      Remove_fade_in(Current_object);
    }
  }
  Show_with_opacity(opacity);
}

void Fade_out_then(Callback on_end) {
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

void Fade_close() {
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
}

bool Start_hide() {
  Object* object = Current_object;
  if (Has_fun_param(object, "long_hide", "OPTICALY")) return false;
  Param_map& hide = Add_started_function(object, "long_hide", Fade_out, Before_list);
  hide["TIME"].value.number = Clock_ms();
  hide["OPTICALY"].value.number = 1.0;
  Add_function(object, "long_hide_end", Fade_close);
  Start_function_after(object, "long_hide_end");
  return true;
}

void Start_hide_click() { Start_hide(); }

void Add_fade_in(Object* object, Callback fade) {
  Param_map& params = Add_started_function(object, "long_view", fade, Before_list);
  params["OPTICALY"].value.number = 0.0;
  params["TIME"].value.number = Clock_ms();
}
