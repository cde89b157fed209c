// Menu windows. For now only the help window's name: the windows come with the menus.
#include "scenes/windows.h"

void Open_help_window_delayed() {}
