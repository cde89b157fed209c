// The game's windows: each fades in over a blocking plate that takes the clicks meant for
// what lies behind it, shows its picture and buttons, and fades out when closed.
#pragma once

void Open_select_window();        // how many pieces? (opened by the game screen)
void Open_help_window();          // help, from the game screen's help button
void Open_help_window_delayed();  // help after the first piece-count choice, a second later
void Open_exit_window();          // leave the game?
void Open_break_window();         // break this puzzle up again?
void Open_main_menu();            // switches, about; links and break all but in classroom mode
// From the main menu: close it, then open the window a second later.
void Open_break_all_window();
void Open_about_window();
// FUN of the piece-count window's cards: close it, set the count its card stands for, show the
// puzzle (and on the first start the help a second later).
void Set_piece_count();
// The plate's click callback: does nothing, but takes the click.
void Ignore_click();
