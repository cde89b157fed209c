// Reading the grown-ups' configuration files.
#include "platform/config.h"

#include <strings.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

Config_record Config;

namespace {

std::string Trimmed(const std::string& text) {
  const char* blank = " \t\r";
  const size_t first = text.find_first_not_of(blank);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blank) - first + 1);
}

// yes/no, true/false, on/off, 1/0, in any case.
bool Read_switch(const std::string& text, bool& value) {
  const char* const words[][2] = {{"yes", "no"}, {"true", "false"}, {"on", "off"}, {"1", "0"}};
  for (const auto& [on, off] : words)
    if (strcasecmp(text.c_str(), on) == 0 || strcasecmp(text.c_str(), off) == 0) {
      value = strcasecmp(text.c_str(), on) == 0;
      return true;
    }
  return false;
}

// A decimal number from `low` to `high`, with nothing after it.
bool Read_number(const std::string& text, double low, double high, double& value) {
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(number >= low && number <= high)) return false;
  value = number;
  return true;
}

// A whole number from 0 to 100.
bool Read_percent(const std::string& text, int& value) {
  double number = 0.0;
  if (text.find_first_not_of("0123456789") != std::string::npos) return false;
  if (!Read_number(text, 0, 100, number)) return false;
  value = static_cast<int>(number);
  return true;
}

// Applies one `key = value`; false with what was wrong.
bool Apply(const std::string& key, const std::string& value, std::string& trouble) {
  if (key == "classroom") {
    trouble = "yes or no";
    return Read_switch(value, Config.classroom);
  }
  if (key == "music-volume" || key == "effects-volume") {
    trouble = "a whole number from 0 to 100";
    return Read_percent(value, key[0] == 'm' ? Config.music_volume : Config.effects_volume);
  }
  if (key == "scan") {
    trouble = "seconds from 0.5 to 10";
    return Read_number(value, 0.5, 10.0, Config.scan_seconds);
  }
  trouble = "";
  return false;
}

void Tell(const std::string& line) { std::fprintf(stderr, "shorebound: %s\n", line.c_str()); }

void Read_file(const std::string& path) {
  struct stat info;
  if (path.empty() || stat(path.c_str(), &info) != 0) return;  // no such file: nothing to read
  std::ifstream in;
  if (S_ISREG(info.st_mode)) in.open(path);
  if (!in.is_open()) {
    Tell(path + ": " + (S_ISREG(info.st_mode) ? std::strerror(errno) : "not a regular file") +
         " (its settings are ignored)");
    return;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    const std::string where = path + ":" + std::to_string(number) + ": ";
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      Tell(where + "'" + line + "' is not key = value (ignored)");
      continue;
    }
    const std::string key = Trimmed(line.substr(0, equals));
    const std::string value = Trimmed(line.substr(equals + 1));
    std::string allowed;
    if (Apply(key, value, allowed)) continue;
    if (allowed.empty())
      Tell(where + "unknown key '" + key + "' (ignored)");
    else
      Tell(where + key + " = '" + value + "' is not " + allowed + " (ignored)");
  }
}

}  // namespace

void Read_config(const std::string& system_file, const std::string& user_file) {
  Config = Config_record();
  Read_file(system_file);
  const bool system_classroom = Config.classroom;
  Read_file(user_file);
  Config.classroom = Config.classroom || system_classroom;
}
