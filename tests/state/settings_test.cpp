// The settings file: what a load makes of each kind of file, and the crash-safe save.
#include "state/settings.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "state/session.h"
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
const std::string Name = "/com.lanternworks.Shorebound/com.lanternworks.Shorebound.cfg";

TEST(Settings, LoadKeepsAGoodFileAndStartsAnythingElseFromTheDefaultsLeavingItAlone) {
  const std::string good = File(1, 0, 1, 0, 2, 1), loaded = File(1, 0, 0, 0, 2, 1);
  const Kind file = Kind::regular, none = Kind::not_found;
  // At the settings path ("blocked": a file for the data folder, an old cache copy) -> the
  // record loaded, what saves leave there, the line said.
  const struct { const char* what; Kind kind; std::string bytes, file_after, record; Kind left; const char* told; } cases[] = {
      {"no file", none, "", "", Defaults, file, nullptr},
      {"short file", file, good.substr(0, 79), Defaults, Defaults, file, nullptr},
      {"other version", file, File(2, 0, 0, 0, 2, 1), Defaults, Defaults, file, nullptr},
      {"foreign bytes", file, std::string(80, 'x'), Defaults, Defaults, file, nullptr},
      {"a good file", file, good, good, loaded, file, nullptr},  // no first start
      {"a FIFO", Kind::fifo, "", "", Defaults, Kind::fifo, "not a regular file"},  // no wait
      {"a folder", Kind::directory, "", "", Defaults, Kind::directory, "not a regular file"},
      {"a link to a good file", Kind::symlink, good, "", Defaults, Kind::symlink, "not a regular file"},
      {"blocked", Kind::unknown, good, "", loaded, none, std::strerror(ENOTDIR)},  // still read
  };
  alarm(30);  // a load that waits on the FIFO ends the suite rather than hanging it
  for (const auto& load : cases) {
    const std::string home = Use_temp_home();
    if (load.kind == Kind::unknown) Write_file(home + "/data", ""), Make_thing(home + "/cache" + Name, file, good);
    Reset_settings();
    const std::string path = Settings_file_paths().save;
    if (load.kind != Kind::unknown) Make_thing(path, load.kind, load.bytes);
    testing::internal::CaptureStderr();
    Load_settings();
    std::string record(80, '\0');
    record[0] = static_cast<char>(Settings.record_version);
    std::memcpy(&record[4], &Settings, sizeof Settings);
    EXPECT_EQ(record, load.record) << load.what;
    EXPECT_EQ(load.told ? "" : Read_file(path), load.file_after) << load.what;  // a FIFO blocks
    Save_settings(), Save_settings();  // a trouble is said once
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::filesystem::symlink_status(path).type(), load.left) << load.what;
    EXPECT_TRUE(load.told ? One_line_naming(told, path, load.told) : told.empty()) << load.what << ": " << told;
  }
  alarm(0);
}

TEST(Settings, WithoutHomeThePasswordEntrysHomeAndWithoutOneProgressOnlyInMemory) {
  if (getuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  // The real user (acting as "nobody": writes nothing at / or /nonexistent) -> the line said.
  const std::string nobody = getpwuid(65534)->pw_dir + std::string("/.local/share") + Name;
  for (const auto& user : {std::make_pair(65534, nobody), std::make_pair(4242, std::string("HOME"))}) {
    testing::internal::CaptureStderr();
    if (fork() == 0) {
      for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) unsetenv(name);
      if (setresuid(user.first, 65534, 65534) == 0) Reset_settings(), Load_settings(), Save_settings(), Save_settings();
      _exit(0);
    }
    wait(nullptr);
    EXPECT_PRED3(One_line_naming, testing::internal::GetCapturedStderr(), user.second, "");
  }
}

TEST(Settings, SaveReplacesTheFileThroughATemporaryOneAndNeverBeforeALoad) {
  Use_temp_home();
  Reset_settings();
  const std::string path = Settings_file_paths().save, folder = path.substr(0, path.rfind('/'));
  Save_settings();
  EXPECT_NE(access(path.c_str(), F_OK), 0);
  Load_settings();
  Save_settings();
  EXPECT_EQ(Read_file(path), Defaults);
  ASSERT_EQ(link(path.c_str(), (folder + "/before").c_str()), 0);  // a second name of the old file
  Settings.music_flag = 0, Settings.puzzle_done[4] = 1;
  Save_settings();
  EXPECT_EQ(Read_file(path), File(1, 1, 1, 0, 1, 1));
  EXPECT_EQ(Read_file(folder + "/before"), Defaults);
  auto files = std::filesystem::directory_iterator(folder);
  EXPECT_EQ(std::distance(begin(files), end(files)), 2);  // no temporary left behind
}

TEST(Settings, EachPieceModeReadsAsItsSetAndAnyOtherAsFortyEight) {
  const std::string path = Use_temp_home() + "/data" + Name;
  for (const auto& [mode, pieces] : {std::pair{1, 20}, {2, 48}, {3, 4}, {4, 12}, {0, 48}, {5, 48}, {255, 48}}) {
    Make_thing(path, Kind::regular, File(1, 1, 1, 1, static_cast<char>(mode), 0));
    Reset_settings();
    Load_settings();
    EXPECT_EQ(Current_piece_set().pieces, pieces) << "piece mode " << mode;
  }
}

}  // namespace
