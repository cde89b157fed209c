// Buttons that grow under the pointer and pulse when clicked, the cursor that follows the
// pointer, and the small callbacks that bracket an object's drawing.
#include "behaviours/buttons.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "audio/sound.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/video.h"
#include "render/draw.h"
#include "render/pick.h"
#include "resources/depths.h"
#include "resources/names.h"
#include "runtime/params.h"
#include "runtime/process.h"

bool Pick_flag(const Param_map& params, const char* name) {
  auto found = params.find(name);
  return found != params.end() && found->second.value.flag != 0;
}

void Set_scale_xy(Param_map& params, double scale) {
  params["SCALE_X"].value.number = scale;
  params["SCALE_Y"].value.number = scale;
}

double Pulse_scale(double t) { return (1.001 - std::fabs(0.2 - t / 1000.0)) + 0.2; }

void Click(const char* sound) {
  Play_sound(Sound_ptr, Sound_pack, sound);
  Callback fun = Current_params(Current_object)["FUN"].value.callback;
  if (fun != nullptr) fun();
}

double Hover_scale(Param_map& params, bool hovered, double now) {
  if (params.count("SCALE_X") == 0) params["SCALE_X"].value.number = 1.0;
  double dt = params.count("TIME") != 0 ? now - params["TIME"].value.number : 0.0;
  params["TIME"].value.number = now;
  double scale = params["SCALE_X"].value.number;
  if (hovered && scale < 1.15) {
    scale = std::min(scale + dt / 1500.0, 1.15);
    Set_scale_xy(params, scale);
  }
  // A running pulse holds off the shrink, which would otherwise cut it short.
  if (!hovered && scale > 1.0 && params.count("cl_time") == 0) {
    scale = std::max(scale - dt / 1500.0, 1.0);
    Set_scale_xy(params, scale);
  }
  return scale;
}

void Draw_button_models(const Param_map& params) {
  bool blend = params.count("BLEND") != 0;
  if (blend) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }
  Draw_models(params);
  if (blend) glDisable(GL_BLEND);
}

void Draw_button() {
  Param_map& params = Current_params(Current_object);
  Apply_transform(params);  // this frame's scale shows from the next frame on
  double now = Clock_ms();
  bool hovered = Pick_flag(params, "MOUSE_HT");
  bool clicked = Pick_flag(params, "MOUSE_CL");
  double scale = Hover_scale(params, hovered, now);
  // A press that came with pointer motion leaves the hover set and starts no pulse.
  if (clicked && !hovered) params["cl_time"].value.number = now;
  if ((clicked || scale > 1.0) && params.count("cl_time") != 0) {
    scale = Pulse_scale(now - params["cl_time"].value.number);
    if (scale <= 1.0) {
      scale = 1.0;
      Remove_eval_function_param(Current_object, "cl_time");
    }
    Set_scale_xy(params, scale);
  }
  if (clicked && params.count("FUN") != 0) Click(Button_sound);
  Queue_mause_obj();
  Draw_button_models(params);
  glPopMatrix();
}

void Push_transform() { Apply_transform(Current_params(Current_object)); }

void Pop_transform() { glPopMatrix(); }

void Grow_forward() {
  glPushMatrix();
  Param_map& params = Current_params(Current_object);
  double elapsed = Clock_ms() - params["TIME"].value.number;
  double scale = elapsed >= 800.0 ? 1.4 : 1.0 + elapsed * 0.0005;
  Set_scale_xy(params, scale);
  glScalef(static_cast<float>(scale), static_cast<float>(scale), 1.0f);
}

// The cursor lies flat at its depth under the pointer and tilts with its distance from the
// middle of the screen.
void Follow_pointer() {
  glPushMatrix();
  double x, y;
  View_point(Video_ptr, Mouse_state.x, Mouse_state.y, Camera_distance - Depth_cursor, x, y);
  glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(Depth_cursor));
  glRotatef(static_cast<float>(2.0 * y - 90.0), 1, 0, 0);
  glRotatef(static_cast<float>(-2.5 * x), 0, 0, 1);
}

void Blend_on() { glEnable(GL_BLEND); }
