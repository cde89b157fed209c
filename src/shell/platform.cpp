// Linux forms of the platform services.
#include "shell/platform.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

std::string Resource_dir;

std::string Resource_directory() {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return "Resources/";
    if (static_cast<size_t>(length) < buffer.size()) {
      std::string path(buffer.data(), static_cast<size_t>(length));
      return path.substr(0, path.rfind('/') + 1) + "Resources/";
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Creates a folder and its parents; an existing folder or a failure is ignored.
static void Make_folders(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0755);
  mkdir(path.c_str(), 0755);
}

std::string Settings_file_path() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  std::string base;
  if (cache != nullptr && cache[0] != '\0') {
    base = cache;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.cache";
  }
  std::string folder = base + "/com.lanternworks.Shorebound";
  Make_folders(folder);
  return folder + "/com.lanternworks.Shorebound.cfg";
}

// The full path of a program found on PATH, or empty.
static std::string Find_on_path(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  for (;;) {
    size_t end = dirs.find(':', start);
    std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (dir.empty()) dir = ".";
    std::string candidate = dir + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (end == std::string::npos) return "";
    start = end + 1;
  }
}

void Open_url(const std::string& url) {
  std::string opener = Find_on_path("xdg-open");
  if (opener.empty()) return;
  // Everything the child needs is prepared before the fork.
  std::vector<char*> argv = {const_cast<char*>("xdg-open"), const_cast<char*>(url.c_str()), nullptr};
  pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    // The middle process starts a new session and leaves at once, so the opener is
    // adopted by init and outlives the game.
    setsid();
    pid_t grandchild = fork();
    if (grandchild == 0) {
      execv(opener.c_str(), argv.data());
      _exit(127);
    }
    _exit(0);
  }
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}
