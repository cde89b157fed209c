// The backdrop: an opaque picture that covers the whole window behind everything else (the game
// screen's background). Filtering its texture anew in every frame costs a software rasteriser
// more than anything else on the screen, so it is drawn once into a picture of the window's
// size and from then on copied pixel for pixel, until it would be drawn differently.
#pragma once

// A drawing function like Draw_obj (transform and models; no picking, blending or late pass)
// for a backdrop: its copy stands at the far end of the depth range, so whatever was drawn
// nearer before it stays in front, as it would of the backdrop itself.
void Draw_backdrop();
// Forgets the copy and frees its GL objects (the next Draw_backdrop draws it again).
void Free_backdrop();
