// Linux forms of the platform services.
#include "platform/platform.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
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

// One line on stderr, said once per run however often the same thing is found.
static void Tell_once(const std::string& line) {
  static std::set<std::string> told;
  if (told.insert(line).second) std::fprintf(stderr, "shorebound: %s\n", line.c_str());
}

// The user's home folder: HOME, or the password database's entry when HOME is unset or empty
// (services, some kiosk sessions); empty when there is neither.
static std::string Home_folder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

// An XDG base folder: the variable's value, or the home folder's fallback when it is unset
// or empty; empty without a home folder.
static std::string Xdg_folder(const char* variable, const char* home_fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] != '\0') return value;
  const std::string home = Home_folder();
  return home.empty() ? home : home + home_fallback;
}

// Moves a regular file, also across file systems (a copy through a temporary file, then the
// old one goes). A failure leaves the old file where it was and returns false.
static bool Move_file(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  std::ifstream in(from, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string temporary = to + ".moving";
  {
    std::ofstream out(temporary, std::ios::binary);
    out << bytes.str();
    if (!in || !out.flush()) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), to.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  std::remove(from.c_str());
  return true;
}

// The name of the game's folder and of its files in it.
static const std::string Folder_name = "/com.lanternworks.Shorebound";

std::string Data_folder() {
  const std::string data = Xdg_folder("XDG_DATA_HOME", "/.local/share");
  return data.empty() ? data : data + Folder_name;
}

std::string User_config_file() {
  const std::string config = Xdg_folder("XDG_CONFIG_HOME", "/.config");
  return config.empty() ? config : config + "/shorebound/shorebound.conf";
}

Settings_paths Settings_file_paths() {
  const std::string folder = Data_folder();
  if (folder.empty()) {
    Tell_once("no home folder (HOME is not set and the user has no home): progress is kept "
              "only until the game ends");
    return Settings_paths();
  }
  Make_folders(folder);
  Settings_paths paths;
  paths.save = paths.read = folder + Folder_name + ".cfg";
  // Earlier versions kept the progress in the cache folder, which cleaning tools empty: a file
  // left there moves over once, when there is nothing here yet. Only a regular file moves: a
  // folder, link or FIFO there is not progress, and would break every later load or save.
  const std::string cache = Xdg_folder("XDG_CACHE_HOME", "/.cache");
  struct stat info;
  if (cache.empty() || lstat(paths.save.c_str(), &info) == 0) return paths;
  const std::string old_path = cache + Folder_name + Folder_name + ".cfg";
  if (lstat(old_path.c_str(), &info) != 0) return paths;
  if (!S_ISREG(info.st_mode))
    Tell_once(old_path + " is not a regular file: left where it is, not moved");
  else if (!Move_file(old_path, paths.save))
    paths.read = old_path;  // the progress is still read; saves go to the data folder
  return paths;
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
