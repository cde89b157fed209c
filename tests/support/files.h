// Scratch space for the tests: new folders under /tmp that go when the process ends, a
// temporary home, files, FIFOs, links.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// A new folder in the process's own folder under /tmp, which goes with all it holds when the
// process that made it ends (a forked child, as in a death test, leaves it alone).
inline std::string Make_temp_folder() {
  static struct Root {
    char path[28] = "/tmp/shorebound-test-XXXXXX";
    const pid_t owner = getpid();
    const bool made = mkdtemp(path) != nullptr;
    ~Root() {
      std::error_code ignored;
      if (made && getpid() == owner) std::filesystem::remove_all(path, ignored);
    }
  } root;
  std::string folder = std::string(root.path) + "/XXXXXX";
  return root.made && mkdtemp(folder.data()) != nullptr ? folder : "/tmp";
}

// Points HOME, XDG_DATA_HOME, XDG_CACHE_HOME and XDG_CONFIG_HOME into a new empty folder;
// returns it.
inline std::string Use_temp_home() {
  const std::string home = Make_temp_folder();
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  return home;
}

inline std::string Read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void Write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

using Kind = std::filesystem::file_type;

// Makes, with its folders, a regular file or a relative link to "target" beside it holding
// `bytes`, a directory or a FIFO.
inline void Make_thing(const std::string& path, Kind kind, const std::string& bytes) {
  const std::string folder = path.substr(0, path.rfind('/'));
  std::filesystem::create_directories(kind == Kind::directory ? path : folder);
  if (kind == Kind::regular) Write_file(path, bytes);
  if (kind == Kind::fifo) mkfifo(path.c_str(), 0644);
  if (kind == Kind::symlink) Write_file(folder + "/target", bytes), std::filesystem::create_symlink("target", path);
}

// True when `printed` is one line of the game's own ("shorebound: ...") that names `a` and `b`.
inline bool One_line_naming(const std::string& printed, const std::string& a, const std::string& b = "") {
  return printed.rfind("shorebound: ", 0) == 0 && printed.find('\n') == printed.size() - 1 &&
         printed.find(a) != std::string::npos && printed.find(b) != std::string::npos;
}
