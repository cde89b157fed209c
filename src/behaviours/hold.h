// Link buttons, which lead out of the game: they act only when held down for two seconds.
#pragma once

// How long a link must be held, ms.
const double Link_hold_ms = 2000.0;

// "..._draw" of a link button (after-list): grows while hovered like any button; a press on it
// starts a hold while the left button stays down over it, shown by an arch that fills over
// it; the FUN callback runs when the hold reaches Link_hold_ms. Letting go or moving off
// before then ends the hold without any effect; a plain click does nothing.
void Draw_link();
