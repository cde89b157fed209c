// The settings file: an 80-byte file holding the version word and the 76-byte record.
// It is written through a temporary file that is renamed over the old one, so a crash or a
// full disk during the write never leaves a damaged file.
#include "state/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

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

// Reads up to `size` bytes, stopping at the end of the file; -1 on a read error.
static ssize_t Read_up_to(int fd, unsigned char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t got = read(fd, buffer + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<ssize_t>(done);
}

static bool Write_all(int fd, const unsigned char* bytes, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t put = write(fd, bytes + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
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
  // Neither a link nor a FIFO is followed or waited on: only a regular file is read.
  int fd = open(paths.read.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0 && errno != ELOOP) return;
  struct stat info;
  if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (fd >= 0) close(fd);
    Tell_trouble(paths.read + " is not a regular file: playing with the default settings, "
                 "and it is left as it is (progress is not saved)");
    return;
  }
  unsigned char bytes[File_size];
  ssize_t got = Read_up_to(fd, bytes, sizeof bytes);
  close(fd);
  if (got < 0) return;  // unreadable: treated like a missing file, left as it is
  uint32_t version = 0;
  if (got >= 4)
    version = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
              static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  if (version == 1 && static_cast<size_t>(got) == File_size) {
    std::memcpy(&Settings, bytes + 4, sizeof Settings);
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
  // A folder, link or FIFO in the file's place is left alone: never replaced nor followed.
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    Tell_trouble("cannot save the settings to " + path + ": not a regular file, left as it is");
    return;
  }
  std::string temp = path + ".tmp-" + std::to_string(static_cast<long>(getpid()));

  unsigned char bytes[File_size];
  std::memcpy(bytes, &Settings, 4);
  std::memcpy(bytes + 4, &Settings, sizeof Settings);

  // Not through a link, and never waiting on a FIFO left under the temporary name.
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                0644);
  bool saved = fd >= 0 && Write_all(fd, bytes, sizeof bytes) && fsync(fd) == 0;
  int error = errno;
  if (fd >= 0 && close(fd) != 0 && saved) saved = false, error = errno;
  if (saved && rename(temp.c_str(), path.c_str()) != 0) saved = false, error = errno;
  if (!saved) {
    if (fd >= 0) unlink(temp.c_str());
    Tell_trouble("cannot save the settings to " + path + ": " + std::strerror(error));
    return;
  }
  // Make the rename itself durable; a failure here leaves a whole file either way.
  std::string folder = path.substr(0, path.rfind('/') + 1);
  int folder_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd >= 0) {
    fsync(folder_fd);
    close(folder_fd);
  }
}

void Reset_settings() {
  settings_loaded = false;
  trouble_told = false;
  std::memset(&Settings, 0, sizeof Settings);
}
