// Buttons, pieces, the cursor and the small transform callbacks.
#pragma once
#include "runtime/object.h"

// "..._draw" of every button (after-list): hover growth, click pulse, click sound and
// callback, models.
void Draw_button();
// "puzzle" of every piece (after-list): click pulse, pick-up sound and callback, models;
// inert while a puzzle is in transition.
void Draw_piece();
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

// Shared by the buttons' drawing callbacks.
// A flag parameter of the picking (MOUSE_CL, MOUSE_HT); absent reads as clear.
bool Pick_flag(const Param_map& params, const char* name);
// Grows the button towards 1.15 while hovered and shrinks it back to 1.0 otherwise (not while
// a click pulse runs), at 1/1500 per ms since the previous frame (TIME); returns SCALE_X.
double Hover_scale(Param_map& params, bool hovered, double now);
// Draws the button's models, blended when it has BLEND.
void Draw_button_models(const Param_map& params);
