// The main menu's switches (sound, music, piece count) and the exit window's OK, which leaves
// the game (the links are in scenes/links.h).
#pragma once
#include "runtime/object.h"

void Toggle_sound();
void Toggle_music();
void Choose_20_pieces();
void Choose_48_pieces();
// Saves and shuts down (Shut_down_game), then ends the process with status 1.
void Quit_program();
// What ends the game in order before the process ends; given by the program to the boot scene.
extern Callback Shut_down_game;
