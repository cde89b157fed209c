// A parent's own pictures made playable at run time: each one's pack made in memory from its
// stored photo when it is shown or next to the one shown (the pieces of its cut pattern, the
// photo as the finished picture and its preview), and a piece set's picture (the photo with
// that set's bevel) when the set is played. The packs of the others are let go.
#pragma once
#include "resources/piece_sets.h"

// Makes the picture at this index ready to show, with its neighbours; nothing for the ten.
// False when its stored photo cannot be read: it is said once and the picture leaves the
// catalogue for the run.
bool Prepare_own_picture(int index);
// Makes the set's picture of an own picture (prepared before).
void Prepare_own_set_picture(int index, const Piece_set& set);
