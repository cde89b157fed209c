// Showing a puzzle (sliding it in from the distance) and hiding it (sliding it out towards the
// viewer), and the previous and next buttons.
#pragma once
#include <string>

// Builds the puzzle's view object and below it a fresh board, or its finished picture.
void Show_puzzle(const std::string& puzzle_pack, const std::string& board_pack,
                 const std::string& shadow_pack);
// Starts the slide-out of a puzzle's view object (after its slide-in has finished), once.
void Hide_puzzle(const std::string& puzzle_pack);
// True while the puzzle's view object exists and its slide-out has been started.
bool Sliding_out(const std::string& puzzle_pack);
// Shows the current puzzle (packs from the catalogue at puzzle_index).
void Show_current_puzzle();

// "obj_view_start", "obj_hide_start" and their closers on the view object.
void Slide_in();
void Slide_out();
void Slide_close();

// FUN of the previous and next buttons: hide this puzzle, show the one before or after.
void Show_previous_puzzle();
void Show_next_puzzle();
