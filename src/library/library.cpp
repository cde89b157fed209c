// The list of the parent's own pictures and their files.
#include "library/library.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/platform.h"
#include "state/kept_file.h"
#include "state/progress.h"

std::string Own_pictures_folder() {
  const std::string settings = Settings_file_paths().save;
  if (!settings.empty()) return settings.substr(0, settings.rfind('/')) + "/pictures";
  static bool told = false;
  if (!told) std::fputs("shorebound: no home folder: own pictures cannot be kept\n", stderr);
  told = true;
  return std::string();
}

std::string Own_picture_file(const std::string& key) {
  const std::string folder = Own_pictures_folder();
  return folder.empty() ? folder : folder + "/" + key + ".jpg";
}

// The list: a line per picture, in the order added: its key, when it was added and the file it
// came from, separated by single spaces.
std::vector<Own_picture> Own_pictures() {
  std::vector<Own_picture> pictures;
  const std::string folder = Own_pictures_folder();
  std::string bytes;
  if (folder.empty() || Read_kept_file(folder + "/list", 1 << 20, bytes) != Kept_read_whole) return pictures;
  std::istringstream lines(bytes);
  for (std::string line; std::getline(lines, line);) {
    char key[17];
    int64_t added_at = 0;
    int name_at = 0;
    if (std::sscanf(line.c_str(), "%16[0-9a-f] %" SCNd64 " %n", key, &added_at, &name_at) == 2 &&
        std::strlen(key) == 16 && line[16] == ' ')
      pictures.push_back({key, line.substr(static_cast<size_t>(name_at)), added_at});
  }
  return pictures;
}

bool Save_own_pictures(const std::vector<Own_picture>& pictures, std::string& error) {
  std::string bytes;
  for (const Own_picture& picture : pictures)
    bytes += picture.key + " " + std::to_string(picture.added_at) + " " + picture.added_from + "\n";
  return Write_kept_file(Own_pictures_folder() + "/list", bytes, error);
}

bool Remove_own_picture(int number) {
  std::vector<Own_picture> pictures = Own_pictures();
  if (number < 1 || static_cast<size_t>(number) > pictures.size()) {
    std::fprintf(stderr, "shorebound: there is no picture %d (there are %zu; --list-pictures lists them)\n",
                 number, pictures.size());
    return false;
  }
  const Own_picture gone = pictures[static_cast<size_t>(number) - 1];
  pictures.erase(pictures.begin() + (number - 1));
  std::string error;
  if (!Save_own_pictures(pictures, error)) {
    std::fprintf(stderr, "shorebound: cannot remove picture %d: %s\n", number, error.c_str());
    return false;
  }
  unlink(Own_picture_file(gone.key).c_str());
  // Its half-built boards and done mark go with it; the other pictures' progress stays.
  Load_progress();
  Progress.boards.erase(gone.key);
  Progress.done.erase(gone.key);
  if (Progress.last_picture == gone.key) Progress.last_picture.clear();
  Save_progress();
  Finish_progress_saves();
  std::printf("shorebound: removed picture %d (%s)\n", number, gone.added_from.c_str());
  return true;
}
