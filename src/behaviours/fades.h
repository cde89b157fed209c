// Fades and timed visibility: objects fade in and out over wall-clock time; a finished
// fade-in removes itself, a finished fade-out ends its object.
#pragma once

#include "runtime/object.h"

// "long_view" callbacks (before-list).
void Fade_in();          // 0 to 1 over one second
void Fade_in_delayed();  // invisible for one second, then 0 to 1 over the next
// "long_hide" callbacks (before-list).
void Fade_out();         // 1 to 0 over one second, then ends the object
// "long_view_end" / "long_hide_end" (after-list): opaque white, blending off.
void Fade_close();
// Registers a fade-in as "long_view" on an object's before-list, starting now from invisible.
void Add_fade_in(Object* object, Callback fade);
// Starts the one-second fade-out of the running object; false when one is already under way.
bool Start_hide();
// Start_hide as a click callback (close, cancel and OK buttons).
void Start_hide_click();

// The parts that fades of other modules are made of.
// Everything the object draws until its closer runs is blended with this opacity.
void Show_with_opacity(double opacity);
// A finished fade-in takes itself and its closer away after this frame's after-list.
void Remove_fade_in(Object* object);
// The fade-out of the running object; `on_end` (if any) runs just before the object ends.
void Fade_out_then(Callback on_end);
