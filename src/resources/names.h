// The names of the packs and of the entries that more than one module looks up, in one place
// for the game, the packer and the tests. (A window's own buttons are named in its layout.)
#pragma once
#include <string>

// Packs of the screens, windows and sounds.
const char* const Main_pack = "main_int.pak";      // background, board frame, star, cursor, icon
const char* const Sound_pack = "music.pak";        // every sound and the music
const char* const Loader_pack = "loader.pak";
const char* const Buttons_pack = "buttons_int.pak";  // the game screen's buttons
const char* const Menu_pack = "menu_int.pak";        // the window plate and the preview frame
const char* const Select_pack = "select.pak";
const char* const Help_pack = "help_menu.pak";
const char* const Exit_pack = "exit_menu.pak";
const char* const Break_pack = "break_menu.pak";
const char* const About_pack = "about_menu.pak";
const char* const Main_menu_pack = "main_menu.pak";

// The ten puzzles; three board patterns, each with its board and shadow pack.
const int Puzzle_count = 10;
const int Pattern_count = 3;
inline std::string Puzzle_pack(int index) { return "puzzle" + std::to_string(index) + ".pak"; }
inline std::string Board_pack(int index) { return "plase" + std::to_string(index % Pattern_count) + ".pak"; }
inline std::string Shadow_pack(int index) { return "shadow" + std::to_string(index % Pattern_count) + ".pak"; }

// Entries of a puzzle pack.
const char* const Final_picture = "FINAL.JPG";
const char* const Final_model = "final.3DS";
const char* const Preview_picture = "PREV.JPG";
const char* const Preview_model = "prev.3DS";

// Entries of the main pack.
const char* const Background_picture = "FON_CL.PNG";
const char* const Frame_picture = "OBVODKA.PNG";
const char* const Frame_model = "obvodka.3DS";
const char* const Star_model = "star.3DS";
const char* const Cursor_model = "cursor.3DS";
const char* const Icon_picture = "ICON.PNG";

// The sounds, all in the sound pack.
const char* const Button_sound = "button.wav";
const char* const Pick_up_sound = "puzzle_up.wav";
const char* const Send_home_sound = "puzzle_move.wav";
const char* const Land_sound = "insert.wav";
const char* const Fanfare_sound = "final.wav";
const char* const Music_sound = "music.wav";
