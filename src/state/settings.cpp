// The settings file: an 80-byte file holding the version word and the 76-byte record, kept
// safely (state/kept_file.h).
#include "state/settings.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "state/kept_file.h"

// The record is stored byte for byte, so its integers are little-endian only on such hosts.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the settings record is little-endian");

Settings_record Settings;

static const size_t File_size = 4 + sizeof(Settings_record);

// Set by Load_settings; until then the record holds zeros and must not be saved.
static bool settings_loaded = false;

static void Fill_defaults() {
  std::memset(&Settings, 0, sizeof Settings);
  Settings.record_version = 1;
  Settings.sound_flag = 1;
  Settings.first_start = 1;
  Settings.music_flag = 1;
  Settings.piece_mode = 1;
}

// A trouble with the settings file is said once per run, on stderr; the game plays on.
static bool trouble_told = false;

static void Tell_trouble(const std::string& line) {
  if (trouble_told) return;
  trouble_told = true;
  std::fprintf(stderr, "shorebound: %s\n", line.c_str());
}

void Load_settings() {
  const Settings_paths paths = Settings_file_paths();
  settings_loaded = true;
  Fill_defaults();  // for every way out but a good file; the file is made at shutdown
  if (paths.read.empty()) return;  // no home folder: kept in memory only (already said)
  std::string bytes;
  switch (Read_kept_file(paths.read, File_size, bytes)) {
    case Kept_not_regular:
      Tell_trouble(paths.read + " is not a regular file: playing with the default settings, "
                   "and it is left as it is (progress is not saved)");
      return;
    case Kept_missing:
    case Kept_unreadable:  // treated like a missing file, left as it is
      return;
    case Kept_read_whole:
      break;
  }
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const uint32_t version = bytes.size() < 4 ? 0 : b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
  if (version == 1 && bytes.size() == File_size) {
    std::memcpy(&Settings, b + 4, sizeof Settings);
    // The record's own copy of the version is written back as the file's first word; a
    // damaged copy would make the next start throw the progress away.
    Settings.record_version = 1;
    Settings.first_start = 0;
    return;
  }
  // Another version, or too short: start again from the defaults, on disk too.
  Save_settings();
  Settings.first_start = 1;
}

void Save_settings() {
  if (!settings_loaded) return;
  const std::string path = Settings_file_paths().save;
  if (path.empty()) return;  // no home folder: kept in memory only (already said)
  std::string bytes(File_size, '\0');
  std::memcpy(&bytes[0], &Settings, 4);
  std::memcpy(&bytes[4], &Settings, sizeof Settings);
  std::string error;
  if (!Write_kept_file(path, bytes, error)) Tell_trouble("cannot save the settings to " + path + ": " + error);
}

void Reset_settings() {
  settings_loaded = false;
  trouble_told = false;
  std::memset(&Settings, 0, sizeof Settings);
}
