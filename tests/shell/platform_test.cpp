// Resource folder, settings path and the web-page opener.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/platform.h"
#include "support/support.h"

namespace {

bool Is_folder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

TEST(Platform, ResourceFolderIsBesideTheExecutable) {
  char exe[4096];
  ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(length, 0);
  std::string path(exe, static_cast<size_t>(length));
  EXPECT_EQ(Resource_directory(), path.substr(0, path.rfind('/') + 1) + "Resources/");
}

const std::string Name = "/com.lanternworks.Shorebound";

TEST(Platform, SettingsLiveInTheDataFolderAndCreateIt) {
  std::string base = Make_temp_folder();
  setenv("XDG_DATA_HOME", (base + "/deep/data").c_str(), 1);
  EXPECT_EQ(Settings_file_path(), base + "/deep/data" + Name + Name + ".cfg");
  EXPECT_TRUE(Is_folder(base + "/deep/data" + Name));
  // Unset or empty, the data folder is the home folder's.
  std::string home = Make_temp_folder();
  setenv("HOME", home.c_str(), 1);
  for (const char* empty : {"", static_cast<const char*>(nullptr)}) {
    if (empty)
      setenv("XDG_DATA_HOME", empty, 1);
    else
      unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(Settings_file_path(), home + "/.local/share" + Name + Name + ".cfg");
  }
}

TEST(Platform, ProgressLeftInTheCacheFolderMovesOverOnceAndNeverReplacesNewerProgress) {
  std::string data = Make_temp_folder(), cache = Make_temp_folder();
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  setenv("XDG_CACHE_HOME", cache.c_str(), 1);
  mkdir((cache + Name).c_str(), 0755);
  const std::string old_file = cache + Name + Name + ".cfg";
  const std::string old_bytes(80, '\x01');
  Write_file(old_file, old_bytes);
  const std::string path = Settings_file_path();
  EXPECT_EQ(Read_file(path), old_bytes);
  EXPECT_NE(access(old_file.c_str(), F_OK), 0);
  // A file that turns up in the cache folder later is left where it is.
  Write_file(path, std::string(80, '\x02'));
  Write_file(old_file, old_bytes);
  EXPECT_EQ(Read_file(Settings_file_path()), std::string(80, '\x02'));
  EXPECT_EQ(Read_file(old_file), old_bytes);
  unsetenv("XDG_CACHE_HOME");
}

TEST(Platform, OpenUrlStartsXdgOpenWithTheAddressAsOneArgumentAndNoShell) {
  std::string folder = Make_temp_folder();
  std::string record = folder + "/argument";
  Write_file(folder + "/xdg-open",
             "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > " + record + ".tmp && mv " + record +
                 ".tmp " + record + "\n");
  chmod((folder + "/xdg-open").c_str(), 0755);
  std::string old_path = std::getenv("PATH");
  setenv("PATH", (folder + ":" + old_path).c_str(), 1);
  std::string url = "https://example.org/a b?x=1&y=$(touch " + folder + "/pwned);z";
  Open_url(url);
  setenv("PATH", old_path.c_str(), 1);
  for (int i = 0; i < 100 && Read_file(record).empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(Read_file(record), "1|" + url);
  EXPECT_NE(access((folder + "/pwned").c_str(), F_OK), 0);
}

}  // namespace
