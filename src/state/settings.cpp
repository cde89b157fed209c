// The settings file: an 80-byte file holding the version word and the 76-byte record.
// It is written through a temporary file that is renamed over the old one, so a crash or a
// full disk during the write never leaves a damaged file.
#include "state/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

void Load_settings() {
  std::string path = Settings_file_path();
  settings_loaded = true;
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    Fill_defaults();  // the file is made at shutdown
    return;
  }
  unsigned char bytes[File_size];
  ssize_t got = Read_up_to(fd, bytes, sizeof bytes);
  close(fd);
  if (got < 0) {
    // Unreadable (e.g. a folder in its place): treated like a missing file, left as it is.
    Fill_defaults();
    return;
  }
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
  Fill_defaults();
  Save_settings();
  Settings.first_start = 1;
}

void Save_settings() {
  if (!settings_loaded) return;
  std::string path = Settings_file_path();
  std::string temp = path + ".tmp-" + std::to_string(static_cast<long>(getpid()));

  unsigned char bytes[File_size];
  std::memcpy(bytes, &Settings, 4);
  std::memcpy(bytes + 4, &Settings, sizeof Settings);

  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return;
  bool written = Write_all(fd, bytes, sizeof bytes) && fsync(fd) == 0;
  if (close(fd) != 0) written = false;
  if (!written || rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
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
  std::memset(&Settings, 0, sizeof Settings);
}
