// The game screen. For now only its name: the screen itself comes with the menus.
#include "scenes/game_screen.h"

void Build_game_screen() {}
