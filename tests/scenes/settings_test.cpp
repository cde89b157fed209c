// The settings file: its bytes, loading and its fall-backs, and saving through a temporary
// file so that a failed or interrupted save never damages the stored settings.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "state/settings.h"
#include "support/support.h"

namespace {

const std::string Folder_name = "/com.lanternworks.Shorebound";
const std::string File_name = "com.lanternworks.Shorebound.cfg";

// A fresh cache folder for this test; the record is back to zeros and "not loaded".
std::string Use_fresh_cache() {
  std::string base = Make_temp_folder();
  setenv("XDG_DATA_HOME", base.c_str(), 1);
  mkdir((base + Folder_name).c_str(), 0755);
  Reset_settings();
  return base + Folder_name;
}

std::string Cfg(const std::string& folder) { return folder + "/" + File_name; }

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  return names;
}

bool Is_folder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void Put_word(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

uint32_t Word_at(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

struct Fields {
  uint32_t version = 1;
  uint8_t sound = 1, first_start = 1, music = 1;
  uint32_t piece_mode = 1;
  uint32_t done[10] = {};
  uint8_t reserved[25] = {};
};

// The 80 file bytes for the given fields, laid out independently of the record type.
std::string File_bytes(const Fields& f) {
  std::string bytes(80, '\0');
  Put_word(bytes, 0, f.version);
  Put_word(bytes, 4, f.version);
  for (int i = 0; i < 25; ++i) bytes[8 + i] = static_cast<char>(f.reserved[i]);
  bytes[4 + 29] = static_cast<char>(f.sound);
  bytes[4 + 30] = static_cast<char>(f.first_start);
  bytes[4 + 31] = static_cast<char>(f.music);
  Put_word(bytes, 4 + 32, f.piece_mode);
  for (int i = 0; i < 10; ++i) Put_word(bytes, 4 + 36 + 4 * i, f.done[i]);
  return bytes;
}

void Expect_defaults_in_memory() {
  EXPECT_EQ(Settings.record_version, 1u);
  EXPECT_EQ(Settings.sound_flag, 1);
  EXPECT_EQ(Settings.first_start, 1);
  EXPECT_EQ(Settings.music_flag, 1);
  EXPECT_EQ(Settings.piece_mode, 1u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Settings.puzzle_done[i], 0u) << "puzzle " << i;
}

// ---- Bytes written and read back ----

TEST(SettingsFile, SaveWritesVersionTwiceThenEveryFieldAtItsOffset) {
  std::string folder = Use_fresh_cache();
  Load_settings();
  Settings.sound_flag = 0;
  Settings.music_flag = 1;
  Settings.piece_mode = 2;
  Settings.puzzle_done[0] = 1;
  Settings.puzzle_done[7] = 1;
  Save_settings();

  Fields expected;
  expected.sound = 0;
  expected.piece_mode = 2;
  expected.done[0] = 1;
  expected.done[7] = 1;
  std::string bytes = Read_file(Cfg(folder));
  ASSERT_EQ(bytes.size(), 80u);
  EXPECT_EQ(Word_at(bytes, 0), 1u);
  EXPECT_EQ(bytes.substr(0, 4), bytes.substr(4, 4));
  EXPECT_EQ(bytes, File_bytes(expected));

  // A new run reads the same choices back.
  Reset_settings();
  Load_settings();
  EXPECT_EQ(Settings.sound_flag, 0);
  EXPECT_EQ(Settings.music_flag, 1);
  EXPECT_EQ(Settings.piece_mode, 2u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Settings.puzzle_done[i], i == 0 || i == 7 ? 1u : 0u);
  EXPECT_EQ(Settings.first_start, 0);
}

TEST(SettingsFile, ValidFileRestoresChoicesKeepsReservedBytesAndIgnoresStoredFirstStart) {
  std::string folder = Use_fresh_cache();
  Fields stored;
  stored.sound = 0;
  stored.first_start = 1;  // a first-run file: must not count as a first start again
  stored.music = 0;
  stored.piece_mode = 2;
  stored.done[1] = 1;
  stored.done[9] = 1;
  for (int i = 0; i < 25; ++i) stored.reserved[i] = static_cast<uint8_t>(0xa0 + i * 3);
  std::string original = File_bytes(stored);
  Write_file(Cfg(folder), original);

  Load_settings();
  EXPECT_EQ(Settings.first_start, 0);
  EXPECT_EQ(Settings.sound_flag, 0);
  EXPECT_EQ(Settings.music_flag, 0);
  EXPECT_EQ(Settings.piece_mode, 2u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Settings.puzzle_done[i], i == 1 || i == 9 ? 1u : 0u);
  EXPECT_EQ(std::memcmp(Settings.reserved, stored.reserved, 25), 0);
  EXPECT_EQ(Read_file(Cfg(folder)), original) << "a valid file is not rewritten on load";

  Settings.puzzle_done[4] = 1;
  Save_settings();
  Fields saved = stored;
  saved.first_start = 0;
  saved.done[4] = 1;
  EXPECT_EQ(Read_file(Cfg(folder)), File_bytes(saved)) << "reserved bytes are written back unchanged";
}

TEST(SettingsFile, LongerFileOfVersionOneLoadsItsFirstEightyBytesAndIsSavedAsEighty) {
  std::string folder = Use_fresh_cache();
  Fields stored;
  stored.piece_mode = 2;
  stored.done[3] = 1;
  Write_file(Cfg(folder), File_bytes(stored) + std::string(37, '\x7f'));
  Load_settings();
  EXPECT_EQ(Settings.first_start, 0);
  EXPECT_EQ(Settings.piece_mode, 2u);
  EXPECT_EQ(Settings.puzzle_done[3], 1u);
  Save_settings();
  stored.first_start = 0;
  EXPECT_EQ(Read_file(Cfg(folder)), File_bytes(stored));
}

// ---- Missing, foreign, short and unreadable files ----

TEST(SettingsFile, DamagedCopyOfTheVersionInsideTheRecordDoesNotLoseProgressLater) {
  std::string folder = Use_fresh_cache();
  Fields stored;
  stored.piece_mode = 2;
  stored.done[4] = 1;
  std::string bytes = File_bytes(stored);
  Put_word(bytes, 4, 77);  // the record's copy is damaged, the file's first word is fine
  Write_file(Cfg(folder), bytes);
  Load_settings();
  EXPECT_EQ(Settings.piece_mode, 2u);
  Save_settings();
  EXPECT_EQ(Word_at(Read_file(Cfg(folder)), 0), 1u);
  Reset_settings();
  Load_settings();  // the next start still finds the progress
  EXPECT_EQ(Settings.first_start, 0);
  EXPECT_EQ(Settings.puzzle_done[4], 1u);
}

TEST(SettingsFile, NoFileGivesDefaultsAndNothingIsWrittenUntilSave) {
  std::string folder = Use_fresh_cache();
  Load_settings();
  Expect_defaults_in_memory();
  EXPECT_TRUE(Entries(folder).empty()) << "loading without a file writes nothing";

  Save_settings();
  EXPECT_EQ(Read_file(Cfg(folder)), File_bytes(Fields()));
  EXPECT_EQ(Entries(folder), std::vector<std::string>{File_name});

  Reset_settings();
  Load_settings();
  EXPECT_EQ(Settings.first_start, 0) << "the second run is not a first start";
  EXPECT_EQ(Settings.piece_mode, 1u);
}

TEST(SettingsFile, ForeignOrShortFilesAreReplacedWithTheDefaultsAtOnce) {
  Fields versioned;
  versioned.piece_mode = 2;
  versioned.done[0] = 1;
  std::string valid = File_bytes(versioned);
  Fields two = versioned;
  two.version = 2;
  std::string big_endian_one = valid;
  big_endian_one.replace(0, 4, std::string("\0\0\0\x01", 4));

  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"version 2", File_bytes(two)},
      {"1 stored big-endian", big_endian_one},
      {"40 bytes of version 1", valid.substr(0, 40)},
      {"79 bytes of version 1", valid.substr(0, 79)},
      {"3 bytes", valid.substr(0, 3)},
      {"empty", ""},
      {"80 zero bytes", std::string(80, '\0')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string folder = Use_fresh_cache();
    Write_file(Cfg(folder), c.bytes);
    Load_settings();
    Expect_defaults_in_memory();
    EXPECT_EQ(Read_file(Cfg(folder)), File_bytes(Fields())) << "rewritten with the defaults";
    EXPECT_EQ(Entries(folder), std::vector<std::string>{File_name});
  }
}

TEST(SettingsFile, UnreadablePathGivesDefaultsAndIsLeftAlone) {
  std::string folder = Use_fresh_cache();
  ASSERT_EQ(mkdir(Cfg(folder).c_str(), 0755), 0);  // a folder where the file should be
  Load_settings();
  Expect_defaults_in_memory();
  EXPECT_TRUE(Is_folder(Cfg(folder)));
  Save_settings();  // the rename cannot replace a folder
  EXPECT_TRUE(Is_folder(Cfg(folder)));
  EXPECT_EQ(Entries(folder), std::vector<std::string>{File_name}) << "no temporary file left";
}

// ---- Saving safely ----

TEST(SettingsSave, BeforeLoadWritesNothing) {
  std::string folder = Use_fresh_cache();
  Save_settings();
  EXPECT_TRUE(Entries(folder).empty()) << "no file is made from a record of zeros";

  Fields stored;
  stored.piece_mode = 2;
  stored.done[6] = 1;
  std::string original = File_bytes(stored);
  Write_file(Cfg(folder), original);
  Save_settings();
  EXPECT_EQ(Read_file(Cfg(folder)), original);

  // A reset forgets the load again.
  Load_settings();
  Settings.piece_mode = 1;
  Reset_settings();
  Save_settings();
  EXPECT_EQ(Read_file(Cfg(folder)), original);
  EXPECT_EQ(Entries(folder), std::vector<std::string>{File_name});
}

TEST(SettingsSave, ReplacesTheOldFileAndLeavesNoTemporaryFile) {
  std::string folder = Use_fresh_cache();
  Fields stored;
  stored.piece_mode = 2;
  Write_file(Cfg(folder), File_bytes(stored));
  Load_settings();
  for (uint32_t round = 0; round < 3; ++round) {
    Settings.puzzle_done[round] = 1;
    Save_settings();
    EXPECT_EQ(Entries(folder), std::vector<std::string>{File_name});
  }
  stored.first_start = 0;
  stored.done[0] = stored.done[1] = stored.done[2] = 1;
  EXPECT_EQ(Read_file(Cfg(folder)), File_bytes(stored));
}

TEST(SettingsSave, ShortWriteKeepsTheOldFileAndRemovesTheTemporaryFile) {
  std::string folder = Use_fresh_cache();
  Fields stored;
  stored.done[2] = 1;
  std::string original = File_bytes(stored);
  Write_file(Cfg(folder), original);
  Load_settings();
  Settings.piece_mode = 2;

  // Files may grow to 40 bytes only (this holds for root too): the write stops half-way.
  rlimit old_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  rlimit small = old_limit;
  small.rlim_cur = 40;
  auto old_handler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Save_settings();
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, old_handler);

  EXPECT_EQ(Read_file(Cfg(folder)), original);
  EXPECT_EQ(Entries(folder), std::vector<std::string>{File_name});

  Save_settings();  // with room again the change is stored
  stored.first_start = 0;
  stored.piece_mode = 2;
  EXPECT_EQ(Read_file(Cfg(folder)), File_bytes(stored));
}

TEST(SettingsSave, TemporaryNameTakenKeepsTheOldFile) {
  std::string folder = Use_fresh_cache();
  std::string original = File_bytes(Fields());
  Write_file(Cfg(folder), original);
  Load_settings();
  Settings.music_flag = 0;
  std::string taken = Cfg(folder) + ".tmp-" + std::to_string(static_cast<long>(getpid()));
  ASSERT_EQ(mkdir(taken.c_str(), 0755), 0);
  Save_settings();
  EXPECT_EQ(Read_file(Cfg(folder)), original);
  EXPECT_TRUE(Is_folder(taken)) << "what occupies the name is not removed";
}

// A child saves in a tight loop and is killed at random moments; every time, the file must
// be one whole record the child wrote (all ten puzzle words equal, piece mode matching).
TEST(SettingsSave, KilledWhileSavingAlwaysLeavesOneWholeRecord) {
  std::string folder = Use_fresh_cache();
  Load_settings();
  Save_settings();
  std::mt19937 random(20240605);
  std::uniform_int_distribution<int> delay_us(0, 10000);
  std::set<uint32_t> seen;  // each trial's child counts from its own base
  for (int trial = 0; trial < 200; ++trial) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      for (uint32_t k = 1000000u * (trial + 1);; ++k) {
        for (uint32_t& done : Settings.puzzle_done) done = k;
        Settings.piece_mode = 1 + k % 2;
        Save_settings();
      }
    }
    usleep(static_cast<useconds_t>(delay_us(random)));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    std::string bytes = Read_file(Cfg(folder));
    ASSERT_EQ(bytes.size(), 80u) << "trial " << trial;
    ASSERT_EQ(Word_at(bytes, 0), 1u) << "trial " << trial;
    ASSERT_EQ(Word_at(bytes, 4), 1u) << "trial " << trial;
    uint32_t k = Word_at(bytes, 4 + 36);
    Fields expected;
    expected.piece_mode = k == 0 ? 1 : 1 + k % 2;
    expected.first_start = 1;
    for (uint32_t& done : expected.done) done = k;
    ASSERT_EQ(bytes, File_bytes(expected)) << "trial " << trial;
    seen.insert(k);
  }
  EXPECT_GT(seen.size(), 20u) << "the children should have completed saves before the kills";
  Reset_settings();
  Load_settings();
  EXPECT_EQ(Settings.first_start, 0) << "the last file loads as a valid one";
}

}  // namespace
