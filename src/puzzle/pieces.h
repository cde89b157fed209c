// Selecting a piece with one click and sending it home with another: the slot outline, the
// flight, the landing with its sound and stars.
#pragma once
#include <string>

// "puzzle" of every piece (after-list): click pulse, pick-up sound and callback, models;
// inert while a puzzle is in transition.
void Draw_piece();
// FUN of a piece's "puzzle": selects the clicked piece and shows its slot outline.
void Select_piece();
// Returns the selected piece of the puzzle pack to loose (the selection itself stays).
void Deselect_piece(const std::string& puzzle_pack);
// FUN of a slot outline: starts the selected piece's flight home.
void Send_piece_home();
// "drag" (before-list, started while the button that lifted the piece is still down): the
// piece follows the pointer; let go, it goes home when dropped on its outline, otherwise back
// to where it lay, still lifted.
void Drag_piece();
// "move_puzzle": moves the piece towards home at 0.01 units/ms per axis; lands it there.
void Fly_piece_home();
