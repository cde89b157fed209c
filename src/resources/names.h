// The names of the packs, and of the entries that the game looks up outside the windows, in one
// place for the game, the packer and the tests. (A window's own pictures and buttons are named
// in its layout, src/scenes/windows.cpp, and in the packer.)
#pragma once
#include <string>

// Packs of the screens, windows and sounds. The main pack holds the background, the menu bar,
// the board's frame, the star, the cursor, the icon and the preview's frame.
const char* const Main_pack = "main_int.pak";
const char* const Sound_pack = "music.pak";          // every sound and the music
const char* const Loader_pack = "loader.pak";
const char* const Buttons_pack = "buttons_int.pak";  // the game screen's buttons
const char* const Menu_pack = "menu_int.pak";  // the window plate; the exit, break, menu pictures
const char* const Select_pack = "select.pak";
const char* const Help_pack = "help_menu.pak";
const char* const Exit_pack = "exit_menu.pak";
const char* const Break_pack = "break_menu.pak";
const char* const About_pack = "about_menu.pak";
const char* const Main_menu_pack = "main_menu.pak";

// The ten puzzles; three board patterns, each with its board and shadow pack.
const int Puzzle_count = 10;
const int Pattern_count = 3;
// At most this many pictures of a parent's own after the ten.
const int Own_picture_limit = 100;
const int Picture_limit = Puzzle_count + Own_picture_limit;
inline std::string Puzzle_pack(int index) { return "puzzle" + std::to_string(index) + ".pak"; }
inline std::string Board_pack(int index) { return "plase" + std::to_string(index % Pattern_count) + ".pak"; }
inline std::string Shadow_pack(int index) { return "shadow" + std::to_string(index % Pattern_count) + ".pak"; }

// A set's bevel picture (board pack) holds a gain per pixel: this value stands for 1.
const float Bevel_map_unit = 128.0f;

// Entries of a puzzle pack.
const char* const Final_picture = "FINAL.JPG";
const char* const Final_model = "final.3DS";
const char* const Preview_picture = "PREV.JPG";
const char* const Preview_model = "prev.3DS";

// Entries of the main pack.
const char* const Background_model = "fon_cl.3DS";
const char* const Background_picture = "FON_CL.PNG";
const char* const Menu_bar_model = "menu_clean.3DS";
const char* const Preview_frame_model = "menu_open.3DS";
const char* const Frame_picture = "OBVODKA.PNG";
const char* const Frame_model = "obvodka.3DS";
const char* const Star_model = "star.3DS";
const char* const Cursor_model = "cursor.3DS";
const char* const Icon_picture = "ICON.PNG";

// The label of the main menu's switch that hides the slot outlines (main menu pack).
const char* const Outline_switch_label = "outline.3DS";

// The game screen's buttons, in the buttons pack.
const char* const Close_button_model = "close.3DS";
const char* const Menu_button_model = "menu.3DS";
const char* const View_button_model = "view.3DS";
const char* const Help_button_model = "help.3DS";
const char* const Break_button_model = "crash.3DS";
const char* const Previous_button_model = "but_lft.3DS";
const char* const Next_button_model = "but_rgh.3DS";

// The loader and its links, in the loader pack.
const char* const Loader_model = "loader.3DS";
const char* const Website_model = "website.3DS";
const char* const Twitter_model = "twitter.3DS";
const char* const Facebook_model = "fbook.3DS";

// The pictures of the piece-count window (select pack) and of the help (help pack), decoded
// while the loader stands.
const char* const Select_title_picture = "PLEASE.PNG";
// The main menu's picture (menu pack): decoded with them, so that it opens without a wait.
const char* const Main_menu_picture = "MAIN.PNG";
const char* const Help_picture = "HELP_FON.PNG";

// The sounds, all in the sound pack.
const char* const Button_sound = "button.wav";
const char* const Pick_up_sound = "puzzle_up.wav";
const char* const Send_home_sound = "puzzle_move.wav";
const char* const Land_sound = "insert.wav";
const char* const Fanfare_sound = "final.wav";
const char* const Scan_sound = "tick.wav";  // a step of one-switch scanning
const char* const Music_sound = "music.wav";
