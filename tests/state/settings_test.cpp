// The settings file: what a load makes of each kind of file, and the crash-safe save.
#include "state/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "support/files.h"

namespace {

// The 80 bytes of a settings file: the version twice, then the record's fields at their places.
std::string File(char version, char sound, char first_start, char music, char pieces, char done_4) {
  std::string bytes(80, '\0');
  bytes[0] = bytes[4] = version;
  bytes[4 + 29] = sound, bytes[4 + 30] = first_start, bytes[4 + 31] = music;
  bytes[4 + 32] = pieces, bytes[4 + 36 + 4 * 4] = done_4;
  return bytes;
}

const std::string Defaults = File(1, 1, 1, 1, 1, 0);

TEST(Settings, LoadKeepsAGoodFileAndStartsAnythingElseFromTheDefaults) {
  const std::string good = File(1, 0, 1, 0, 2, 1);
  const struct { const char* what; bool exists; std::string bytes, file_after, record; } cases[] = {
      {"no file", false, "", "", Defaults},
      {"short file", true, good.substr(0, 79), Defaults, Defaults},
      {"other version", true, File(2, 0, 0, 0, 2, 1), Defaults, Defaults},
      {"foreign bytes", true, std::string(80, 'x'), Defaults, Defaults},
      {"a good file", true, good, good, File(1, 0, 0, 0, 2, 1)},  // no first start
  };
  for (const auto& load : cases) {
    Use_temp_home();
    Reset_settings();
    const std::string path = Settings_file_path();
    if (load.exists) Write_file(path, load.bytes);
    Load_settings();
    std::string record(80, '\0');
    record[0] = static_cast<char>(Settings.record_version);
    std::memcpy(&record[4], &Settings, sizeof Settings);
    EXPECT_EQ(record, load.record) << load.what;
    EXPECT_EQ(Read_file(path), load.file_after) << load.what;
  }
}

TEST(Settings, SaveReplacesTheFileThroughATemporaryOneAndNeverBeforeALoad) {
  Use_temp_home();
  Reset_settings();
  const std::string path = Settings_file_path(), folder = path.substr(0, path.rfind('/'));
  Save_settings();
  EXPECT_NE(access(path.c_str(), F_OK), 0);
  Load_settings();
  Save_settings();
  EXPECT_EQ(Read_file(path), Defaults);
  ASSERT_EQ(link(path.c_str(), (folder + "/before").c_str()), 0);  // a second name of the old file
  Settings.music_flag = 0;
  Settings.puzzle_done[4] = 1;
  Save_settings();
  EXPECT_EQ(Read_file(path), File(1, 1, 1, 0, 1, 1));
  EXPECT_EQ(Read_file(folder + "/before"), Defaults);
  auto files = std::filesystem::directory_iterator(folder);
  EXPECT_EQ(std::distance(begin(files), end(files)), 2);  // no temporary left behind
}

}  // namespace
