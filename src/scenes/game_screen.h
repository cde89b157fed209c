// The screen on which the puzzles are played.
#pragma once

// Builds the background, menu bar and buttons (no exit button in classroom mode), applies the
// settings, starts the music and opens the piece-count window. Called once, when the loader
// has faded out.
void Build_game_screen();
