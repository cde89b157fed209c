// Where a drawing lies on the screen, and the focus ring drawn around it.
#pragma once
#include "render/pick.h"

// Window pixels (origin top left) of the box round the models of a drawing as it was queued
// this frame; false when it draws no model.
struct Screen_box {
  double left, top, right, bottom;
};
bool Drawing_screen_box(const mause_obj& drawing, Screen_box& box);
// Window pixels of a point of the drawing's own space (its origin: where it is placed).
void Drawing_point_on_screen(const mause_obj& drawing, const float at[3], double& x, double& y);
// A ring round the box, over everything: a white band outside a black one, so that one of them
// stands out against any colour around it (at least 4.5:1).
void Draw_focus_ring(const Screen_box& box);
