// The command line a parent may use, and the configuration files it points to.
#include "app/options.h"

#include <cstdio>
#include <cstring>

#include "app/picture_commands.h"
#include "audio/loudness.h"
#include "platform/config.h"

// The usage, with the files as they are found on this machine now.
static std::string Usage() {
  const std::string data = Data_folder(), user_config = User_config_file();
  const std::string progress =
      data.empty() ? "Without a home folder progress is kept only until the game ends.\n"
                   : "Progress is kept in " + data +
                         "/\n(com.lanternworks.Shorebound.cfg and .pieces; delete them to start "
                         "again),\nthe added photos in " + data + "/pictures/.\n";
  return "Usage: shorebound [--windowed] [--classroom] [--scan[=SECONDS]]\n"
         "Jigsaw puzzles for young children: ten pictures in 4, 12, 20 or 48 pieces, full "
         "screen.\n"
         "\n"
         "  --windowed    play in a window of 1280x800 (or the screen's size if smaller)\n"
         "  --classroom   classroom mode: no exit button, no web links, no \"break all puzzles\n"
         "                up\"; only Ctrl+Q held down for two seconds quits\n"
         "  --scan[=S]    one-switch scanning: the focus steps by itself every S seconds (1.5;\n"
         "                0.5 to 10) and Space, Enter or a left click picks what it stands on\n"
         "  --help        show this help and leave\n"
         "  --version     show the version and leave\n"
         "\n"
         "A parent's own photos (JPEG or PNG) as puzzles, after the ten pictures:\n"
         "  shorebound FILE...                 add the photos and play, starting on the first\n"
         "  shorebound --add-picture FILE...   add the photos\n"
         "  shorebound --list-pictures         list them: number, file added from, when\n"
         "  shorebound --remove-picture N      remove picture N and its progress\n"
         "\n"
         "Ctrl+Q or Super+Q quits at once (in classroom mode: Ctrl+Q held for two seconds);\n"
         "the red button in the top right corner asks first.\n"
         "\n" +
         progress +
         "\n"
         "Grown-ups' settings: key = value lines (# starts a comment) in\n"
         "  " + std::string(System_config_file) + " (for every user), then\n"
         "  " + (user_config.empty() ? "no user's file (no home folder)" : user_config) +
         " (this user's)\n"
         "  classroom = yes|no        classroom mode (a user's file cannot switch it off)\n"
         "  music-volume = 0 to 100   how loud the music plays (0: silent; default 100)\n"
         "  effects-volume = 0 to 100 how loud the sounds play (0: silent; default 100)\n"
         "  scan = 0.5 to 10          one-switch scanning on, with this many seconds per step\n"
         "\n"
         "Keys: Tab and Shift+Tab move the focus over the loose pieces and the buttons, the\n"
         "arrows to the nearest piece that way (a lifted piece: from slot to slot), Enter or\n"
         "Space lifts, drops or presses, Escape lets a piece go or closes a window.\n";
}

int Read_options(int argc, char** argv, bool& windowed, const std::string& system_config) {
  windowed = false;
  bool classroom = false;
  double scan = 0.0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(Usage().c_str(), stdout);
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
      std::fputs(Usage().c_str(), stderr);
      return 2;
    }
    if (std::strcmp(argv[i], "--classroom") == 0) {
      classroom = true;
      continue;
    }
    if (std::strncmp(argv[i], "--scan", 6) == 0 && (argv[i][6] == '\0' || argv[i][6] == '=')) {
      char* end = nullptr;
      scan = argv[i][6] == '\0' ? Default_scan_seconds : std::strtod(argv[i] + 7, &end);
      if (argv[i][6] == '=' && (end == argv[i] + 7 || *end != '\0' || !(scan >= 0.5 && scan <= 10.0))) {
        std::fprintf(stderr, "shorebound: --scan takes the seconds of a step, 0.5 to 10: '%s'\n%s", argv[i], Usage().c_str());
        return 2;
      }
      continue;
    }
    std::fprintf(stderr, "shorebound: unknown option '%s'\n%s", argv[i], Usage().c_str());
    return 2;
  }
  Read_config(system_config, User_config_file());
  Config.classroom = Config.classroom || classroom;
  if (scan > 0) Config.scan_seconds = scan;
  Music_volume = static_cast<float>(Config.music_volume) / 100.0f;
  Effect_volume = static_cast<float>(Config.effects_volume) / 100.0f;
  return -1;
}
