// The player's settings and progress, kept in one small file in the user's data folder.
#pragma once
#include <cstddef>
#include <cstdint>

// 76 bytes, little-endian, laid out exactly as stored in the file after its 4-byte version.
struct Settings_record {
  uint32_t record_version;
  // 1 = the lit outline of a lifted piece's slot is hidden (a menu switch for older children).
  // Earlier versions keep this byte, once reserved, as they read it.
  uint8_t outline_hidden;
  uint8_t reserved[24];
  uint8_t sound_flag;
  uint8_t first_start;
  uint8_t music_flag;
  uint32_t piece_mode;  // the piece set (resources/piece_sets.h): 1 = 20, 2 = 48, 3 = 4, 4 = 12
  uint32_t puzzle_done[10];
};
static_assert(sizeof(Settings_record) == 76, "the settings record is 76 bytes");
static_assert(offsetof(Settings_record, sound_flag) == 29, "settings layout");
static_assert(offsetof(Settings_record, piece_mode) == 32, "settings layout");
static_assert(offsetof(Settings_record, puzzle_done) == 36, "settings layout");

// All zeros until Load_settings runs.
extern Settings_record Settings;

// Fills Settings from the file, or with the defaults (first start) when there is none or it
// is of another version or too short; a foreign file is rewritten with the defaults. Anything
// but a regular file there (a folder, link or FIFO) is neither read nor waited on: it is named
// on stderr and left as it is.
void Load_settings();
// Writes the 80-byte file (version, then the record) through a temporary file renamed over
// the old one. Writes nothing before Load_settings has run, nor without a home folder, nor
// over anything but a regular file. The first failure of a run is named on stderr.
void Save_settings();
// Forgets that the settings were loaded and zeroes the record (for tests).
void Reset_settings();
