// The main menu's switches (sound, music, piece count) and the actions that leave the game:
// the exit window's OK and the links to the maker's pages.
#pragma once
#include <string>

void Toggle_sound();
void Toggle_music();
void Choose_20_pieces();
void Choose_48_pieces();
// Saves and shuts down, then ends the process with status 1.
void Quit_program();
// Open a page of the maker in the browser, then quit like Quit_program.
void Open_site();
void Open_twitter();
void Open_facebook();
// The home page's address with the query that tells where the visit came from.
std::string Site_address();
