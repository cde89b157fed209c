// Reading and writing the files the game keeps, safely.
#include "state/kept_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

Kept_read Read_kept_file(const std::string& path, size_t limit, std::string& bytes) {
  bytes.clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0 && errno != ELOOP) return errno == ENOENT ? Kept_missing : Kept_unreadable;
  struct stat info;
  if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (fd >= 0) close(fd);
    return Kept_not_regular;
  }
  bytes.resize(limit);
  size_t done = 0;
  while (done < limit) {
    ssize_t got = read(fd, &bytes[done], limit - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      close(fd);
      bytes.clear();
      return Kept_unreadable;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  close(fd);
  bytes.resize(done);
  return Kept_read_whole;
}

static bool Write_all(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

bool Write_kept_file(const std::string& path, const std::string& bytes, std::string& error) {
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    error = "not a regular file, left as it is";
    return false;
  }
  const std::string temp = path + ".tmp-" + std::to_string(static_cast<long>(getpid()));
  // Not through a link, and never waiting on a FIFO left under the temporary name.
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  bool saved = fd >= 0 && Write_all(fd, bytes) && fsync(fd) == 0;
  int failure = errno;
  if (fd >= 0 && close(fd) != 0 && saved) saved = false, failure = errno;
  if (saved && rename(temp.c_str(), path.c_str()) != 0) saved = false, failure = errno;
  if (!saved) {
    if (fd >= 0) unlink(temp.c_str());
    error = std::strerror(failure);
    return false;
  }
  // Make the rename itself durable; a failure here leaves a whole file either way.
  int folder = open(path.substr(0, path.rfind('/') + 1).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}
