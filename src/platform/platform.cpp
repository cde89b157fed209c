// Linux forms of the platform services.
#include "platform/platform.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>


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

// An XDG base folder: the variable's value, or the home folder's fallback when it is unset
// or empty.
static std::string Xdg_folder(const char* variable, const char* home_fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] != '\0') return value;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + home_fallback;
}

// Moves a file, also across file systems (a copy through a temporary file, then the old one
// goes). A failure leaves the old file where it was.
static void Move_file(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return;
  std::ifstream in(from, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string temporary = to + ".moving";
  {
    std::ofstream out(temporary, std::ios::binary);
    out << bytes.str();
    if (!in || !out.flush()) {
      std::remove(temporary.c_str());
      return;
    }
  }
  if (std::rename(temporary.c_str(), to.c_str()) == 0)
    std::remove(from.c_str());
  else
    std::remove(temporary.c_str());
}

std::string Settings_file_path() {
  const std::string name = "/com.lanternworks.Shorebound";
  const std::string folder = Xdg_folder("XDG_DATA_HOME", "/.local/share") + name;
  Make_folders(folder);
  const std::string path = folder + name + ".cfg";
  // Earlier versions kept the progress in the cache folder, which cleaning tools empty: a file
  // left there moves over once, when there is none here yet.
  const std::string old_path = Xdg_folder("XDG_CACHE_HOME", "/.cache") + name + name + ".cfg";
  if (access(path.c_str(), F_OK) != 0 && access(old_path.c_str(), F_OK) == 0) Move_file(old_path, path);
  return path;
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
      std::signal(SIGPIPE, SIG_DFL);  // the game ignores it (On_display_lost)
      execv(opener.c_str(), argv.data());
      _exit(127);
    }
    _exit(0);
  }
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}
