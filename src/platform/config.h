// The grown-ups' configuration: `key = value` lines in the system-wide file and in the user's
// (platform/platform.h names them), with `#` comments and blank lines.
#pragma once
#include <string>

struct Config_record {
  bool classroom = false;     // classroom: no exit button, links or break-all; a held chord quits
  int music_volume = 100;     // music-volume: percent of the music's gain, 0 (silent) to 100
  int effects_volume = 100;   // effects-volume: the same for the effects
  double scan_seconds = 0.0;  // scan: the step of the scanning focus, 0.5 to 10 s; 0: no scanning
};

// The step of --scan given without its seconds.
const double Default_scan_seconds = 1.5;

// The defaults until Read_config runs.
extern Config_record Config;

// Starts from the defaults and reads the system-wide file, then the user's: a later line wins,
// but classroom mode switched on in the system-wide file stays on. A missing file is no
// trouble. Each line that is not `key = value`, with an unknown key or a bad value, is ignored
// and told on stderr in one line naming the file, the line and the key; so is a file that is
// there but cannot be read.
void Read_config(const std::string& system_file, const std::string& user_file);
