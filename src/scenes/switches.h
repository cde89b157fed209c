// The main menu's switches (sound, music, piece count) and the exit window's OK, which leaves
// the game (the links are in scenes/links.h).
#pragma once
#include "runtime/object.h"

void Toggle_sound();
void Toggle_music();
// A piece-count switch: the count its PIECE_MODE stands for, the current puzzle rebuilt with it
// (nothing while a rebuild runs, or for the count already chosen).
void Choose_piece_count();
// Shows or hides the slot outline of a lifted piece (older children find the place alone).
void Toggle_outline();
// The parameter of a piece-count card or switch that holds the piece mode it stands for.
const char* const Piece_mode_param = "PIECE_MODE";
// The function of the main menu's outline switch.
const char* const Outline_switch_fun = "boutline_draw";
// Saves and shuts down (Shut_down_game), then ends the process with status 1.
void Quit_program();
// What ends the game in order before the process ends; given by the program to the boot scene.
extern Callback Shut_down_game;
