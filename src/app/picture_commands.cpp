// Adding, listing and removing the parent's pictures from the command line.
#include "app/picture_commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "library/import.h"
#include "library/library.h"
#include "state/progress.h"

Picture_commands Asked_pictures;

int Read_picture_option(int argc, char** argv, int& i) {
  const std::string option = argv[i];
  if (option == "--add-picture") {
    Asked_pictures.add_only = true;
    const size_t before = Asked_pictures.files.size();
    while (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) Asked_pictures.files.push_back(argv[++i]);
    if (Asked_pictures.files.size() > before) return 1;
    std::fputs("shorebound: --add-picture needs the files to add\n", stderr);
    return -1;
  }
  if (option == "--list-pictures") return Asked_pictures.list = true, 1;
  if (option == "--remove-picture") {
    char* end = nullptr;
    const long number = i + 1 < argc ? std::strtol(argv[i + 1], &end, 10) : 0;
    if (Asked_pictures.remove == 0 && end != argv[i + 1] && *end == '\0' && number > 0 && number <= 1000000) {
      Asked_pictures.remove = static_cast<int>(number);
      return ++i, 1;
    }
    std::fputs("shorebound: --remove-picture needs the number of one picture (see --list-pictures)\n", stderr);
    return -1;
  }
  if (option.empty() || option[0] == '-') return 0;
  Asked_pictures.files.push_back(option);  // a file to open
  return 1;
}

// One line per picture: its number, the file it was added from, and when (local time).
static void List_pictures() {
  const std::vector<Own_picture> pictures = Own_pictures();
  if (pictures.empty()) std::puts("No pictures added yet (shorebound --add-picture FILE... adds photos).");
  for (size_t i = 0; i < pictures.size(); ++i) {
    const std::time_t added_at = static_cast<std::time_t>(pictures[i].added_at);
    char when[64] = "";
    if (const std::tm* local = std::localtime(&added_at)) std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", local);
    std::printf("%zu  %s  %s\n", i + 1, pictures[i].added_from.c_str(), when);
  }
}

int Run_picture_commands() {
  const Picture_commands& asked = Asked_pictures;
  const bool no_game = asked.add_only || asked.list || asked.remove > 0;
  int status = 0;
  std::string first;
  for (const std::string& file : asked.files) {
    std::string key;
    if (Add_own_picture(file, key) == Picture_refused) status = 1;
    if (first.empty()) first = key;
  }
  if (asked.remove > 0 && !Remove_own_picture(asked.remove)) status = 1;
  if (asked.list) List_pictures();
  if (no_game) return status;
  if (!first.empty()) {  // the game starts on the picture seen last
    Load_progress();
    Progress.last_picture = first;
    Save_progress();
    Finish_progress_saves();
  }
  return -1;
}
