// Buttons, the cursor and the small transform callbacks.
#pragma once
#include "runtime/object.h"

// "..._draw" of every button (after-list): hover growth, click pulse, click sound and
// callback, models.
void Draw_button();
// "puzz_draw" (before-list): pushes the matrix and moves to the parameters' place.
void Push_transform();
// "..._end" closers (after-list): pops the matrix.
void Pop_transform();
// "move_forward" (before-list): pushes the matrix and grows to 1.4 over 800 ms.
void Grow_forward();
// "follow_mouse" (before-list): pushes the matrix and moves the cursor to the pointer.
void Follow_pointer();
// "enable_blend" (before-list): blending on.
void Blend_on();

// Shared by the drawing callbacks of buttons and pieces.
// A flag parameter of the picking (MOUSE_CL, MOUSE_HT); absent reads as clear.
bool Pick_flag(const Param_map& params, const char* name);
// Grows the button towards 1.15 while hovered and shrinks it back to 1.0 otherwise (not while
// a click pulse runs), at 1/1500 per ms since the previous frame (TIME); returns SCALE_X.
double Hover_scale(Param_map& params, bool hovered, double now);
// Draws the button's models, blended when it has BLEND.
void Draw_button_models(const Param_map& params);
// Sets SCALE_X and SCALE_Y.
void Set_scale_xy(Param_map& params, double scale);
// Scale t ms after a click: 1.001 at once, 1.201 at 200 ms, 1.0 or less from 401 ms on.
double Pulse_scale(double t);
// The click sound, then the running function's click callback. The callback may erase
// parameters of this very function (even FUN), so callers look up again afterwards.
void Click(const char* sound);
