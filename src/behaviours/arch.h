// The arch that fills over a held link button: a wordless sign of how long to hold on.
#pragma once
#include "runtime/object.h"

// Draws, under the current matrix, a dark half ring over the function's flat models (around
// their x-z extent; model y is depth), from the left end over the top to the right end, and
// fills it in bright orange from the left up to `fraction` (0..1). It stands a little in front
// of the models and fades with the current colour. A half ring because the loader's links
// sit close to the foot of the screen, where a whole ring would be cut off.
void Draw_fill_arch(const Param_map& params, double fraction);
