// The grown-up's gate in front of the links: hold the button for two seconds while an arch
// fills over it.
#include "behaviours/hold.h"

#include <GL/gl.h>

#include "behaviours/arch.h"
#include "behaviours/buttons.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "render/draw.h"
#include "render/pick.h"
#include "runtime/params.h"
#include "runtime/process.h"

void Draw_link() {
  Param_map& params = Current_params(Current_object);
  Apply_transform(params);
  double now = Clock_ms();
  // The press the pick pass gave this button starts the hold; letting go (a quick click has
  // been let go by now) or moving off ends it.
  if (Pick_flag(params, "MOUSE_CL")) params["hold_time"].value.number = now;
  bool holding = params.count("hold_time") != 0;
  if (holding && (!Mouse_state.held || !Pointer_over_models(params))) {
    Remove_eval_function_param(Current_object, "hold_time");
    holding = false;
  }
  Hover_scale(params, holding || Pick_flag(params, "MOUSE_HT"), now);
  double held_for = holding ? now - params["hold_time"].value.number : 0.0;
  if (holding && held_for >= Link_hold_ms) {
    Remove_eval_function_param(Current_object, "hold_time");
    holding = false;
    Callback fun = params.count("FUN") != 0 ? params["FUN"].value.callback : nullptr;
    if (fun != nullptr) fun();
  }
  Queue_mause_obj();
  Draw_button_models(params);
  if (holding) {
    // Kept in the parameters, so that the loop sees the arch moving and keeps drawing it at
    // the full frame rate.
    double& fill = params["hold_fill"].value.number;
    fill = held_for / Link_hold_ms;
    Draw_fill_arch(params, fill);
  }
  glPopMatrix();
}
