// The parent's pictures on the command line: --add-picture FILE..., --list-pictures,
// --remove-picture N, and files given alone (how a desktop's "Open with" passes them), which are
// added before the game starts on the first of them. None opens a window.
#pragma once
#include <string>
#include <vector>

struct Picture_commands {
  std::vector<std::string> files;  // to add
  bool add_only = false;           // --add-picture: no game after
  bool list = false;               // --list-pictures
  int remove = 0;                  // --remove-picture: the number of the picture, 0 for none
};
extern Picture_commands Asked_pictures;

// Takes argv[i], and the arguments it needs after it, into Asked_pictures when it is one of
// these (i then stands at the last one taken): 1; 0 when it is none of them; -1 after a line on
// stderr when it is one of them given wrongly (a usage error).
int Read_picture_option(int argc, char** argv, int& i);
// Carries out what was asked: -1 when the game is to start next (on the first file added), or
// the exit status: 0 when everything asked was done, 1 when a file was refused or a picture
// could not be removed.
int Run_picture_commands();
