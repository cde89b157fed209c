// Model drawing. Placeholder: nothing is queued yet, so the late pass has nothing to draw.
#include "render/draw.h"

void Draw_blend_objs() {}
