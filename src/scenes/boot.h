// The first scene of the program: the root object, the sound system, the cursor and the
// loader, which preloads the pictures and then builds the game screen.
#pragma once
#include "runtime/object.h"

// Builds the scene. `shut_down` saves and frees everything; the buttons that end the program
// (the exit window's OK, the links) call it before the process ends.
void Build_boot_scene(Callback shut_down);
// The loader's "long_view": 0 to 1 over 1.25 s, preloads the pictures, hides after 5 s.
void Loader_fade_in();
// The loader's "long_hide": the standard fade-out, then it builds the game screen.
void Loader_fade_out();
