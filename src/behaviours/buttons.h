// Buttons, pieces, the cursor and the small transform callbacks.
#pragma once

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
