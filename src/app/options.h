// The command line (the parent's pictures' options in app/picture_commands.h), and the
// grown-ups' configuration the game starts with.
#pragma once
#include <string>

#include "platform/platform.h"

// Reads the options. Returns -1 when the game is to start, with `windowed` set as asked, the
// configuration read (platform/config.h: `system_config`, then the user's file), classroom
// mode on when --classroom asks for it and the volumes handed to the sound; or the exit status
// to leave with at once: 0 after --help or --version (printed on standard output), 2 after an
// unknown option or argument (an error line and the usage on standard error).
int Read_options(int argc, char** argv, bool& windowed,
                 const std::string& system_config = System_config_file);
