// The command line a parent may use.
#include "app/options.h"

#include <cstdio>
#include <cstring>

#include "app/picture_commands.h"

static const char* const Usage =
    "Usage: shorebound [--windowed]\n"
    "Jigsaw puzzles for young children: ten pictures in 20 or 48 pieces, full screen.\n"
    "\n"
    "  --windowed   play in a window of 1280x800 (or the screen's size if smaller)\n"
    "  --help       show this help and leave\n"
    "  --version    show the version and leave\n"
    "\n"
    "A parent's own photos (JPEG or PNG) as puzzles, after the ten pictures:\n"
    "  shorebound FILE...                 add the photos and play, starting on the first\n"
    "  shorebound --add-picture FILE...   add the photos\n"
    "  shorebound --list-pictures         list them: number, file added from, when\n"
    "  shorebound --remove-picture N      remove picture N and its progress\n"
    "\n"
    "Ctrl+Q or Super+Q quits at once; the red button in the top right corner asks first.\n"
    "Progress is kept in $XDG_DATA_HOME/com.lanternworks.Shorebound/"
    "com.lanternworks.Shorebound.cfg\n"
    "(~/.local/share/... when XDG_DATA_HOME is not set); delete it to start again.\n";

int Read_options(int argc, char** argv, bool& windowed) {
  windowed = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("shorebound %s\n", SHOREBOUND_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--windowed") == 0) {
      windowed = true;
      continue;
    }
    if (const int taken = Read_picture_option(argc, argv, i)) {  // the parent's pictures
      if (taken > 0) continue;
      std::fputs(Usage, stderr);
      return 2;
    }
    std::fprintf(stderr, "shorebound: unknown option '%s'\n%s", argv[i], Usage);
    return 2;
  }
  return -1;
}
