// Drawing of models and the late pass for blended models.
#pragma once

// The late pass: draws the blended models queued during the frame.
void Draw_blend_objs();
