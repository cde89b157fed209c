// The game's windows: each fades in over a blocking plate and closes with a fade-out.
#pragma once

// The help window that opens a second after the first piece-count choice.
void Open_help_window_delayed();
