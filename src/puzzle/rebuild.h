// Breaking puzzles up again: the current one, all of them, or the current one with the other
// piece count. One per-frame step on the root object slides the puzzle out and shows it anew.
#pragma once

// FUN of the break button of the break-this-puzzle window.
void Rebuild_this_puzzle();
// FUN of the break button of the break-all window: every puzzle counts as not done again.
void Rebuild_all_puzzles();
// Whether a rebuild is under way ("puzzle_del" exists on Main_object's "rebuilt_puzzle").
bool Rebuild_running();
// Starts "rebuilt_puzzle" on Main_object for the current puzzle. It counts as under way from
// this call on, so a second request in the very next frame cannot start a second step beside it.
void Start_rebuild();
// "rebuilt_puzzle" on Main_object: hides the puzzle it was started for, waits until it is
// gone and shows it anew if it is still the current one (after a switch to another puzzle it
// comes back as a fresh board when it is next shown).
void Rebuild_step();
