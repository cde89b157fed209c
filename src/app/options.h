// The command line: --help, --version, --windowed, and the parent's pictures
// (app/picture_commands.h); anything else is an error.
#pragma once

// Reads the options. Returns -1 when the game is to start (with `windowed` set as asked), or
// the exit status to leave with at once: 0 after --help or --version (printed on standard
// output), 2 after an unknown option or argument (an error line and the usage on standard
// error).
int Read_options(int argc, char** argv, bool& windowed);
