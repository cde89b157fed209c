// Stars, and the completion of a puzzle when the last star of the last piece burns out.
#pragma once
#include <string>

// A star on the board object: drifts, grows or shrinks, fades out over two seconds, and is
// counted when it burns out.
void Draw_star();
// The puzzle's board goes away with stars still burning (its puzzle slid out, or is shown anew
// while it slides out): they count as burnt out, so a puzzle finished just before it was
// switched away is done, and one with a piece still loose is not. Called after the board has
// run its frame, or before it runs again.
void Burn_out_stars(const std::string& puzzle_pack);
// Ends the current puzzle's board and shows its finished picture. (The star that completes a
// puzzle records it as done and saves the settings before this runs.)
void Finish_puzzle();
// The finished picture with its frame, growing to 1.4 over 800 ms, below the view object.
void Show_finished_picture(const std::string& puzzle_pack);
