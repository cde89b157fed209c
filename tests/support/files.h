// Scratch space for the tests: new folders under /tmp, a temporary home, whole files.
#pragma once
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

inline std::string Make_temp_folder() {
  char pattern[] = "/tmp/shorebound-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  return made != nullptr ? std::string(made) : std::string("/tmp");
}

// Points HOME, XDG_DATA_HOME and XDG_CACHE_HOME into a new empty folder; returns it.
inline std::string Use_temp_home() {
  const std::string home = Make_temp_folder();
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
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
