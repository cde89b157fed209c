// The operating system's services: where the packs are, where the settings and the grown-ups'
// configuration live, and opening a web page in the user's browser.
#pragma once
#include <string>

// The folder "Resources/" beside the running executable, ending in "/".
std::string Resource_directory();
// The game's folder in the user's data folder: $XDG_DATA_HOME (or ~/.local/share when it is
// unset or empty) + "/com.lanternworks.Shorebound"; empty without any home folder. Not made here.
std::string Data_folder();
// The grown-ups' configuration: the system-wide file, and the user's, $XDG_CONFIG_HOME (or
// ~/.config) + "/shorebound/shorebound.conf" (empty without any home folder).
const char* const System_config_file = "/etc/shorebound.conf";
std::string User_config_file();
// Where the settings are saved and read.
struct Settings_paths {
  std::string save;  // the file in the user's data folder; empty without any home folder
  std::string read;  // that file, or the earlier versions' copy that could not be moved over
};
// The settings file in the user's data folder; the folder is created (failures ignored), and
// a regular file left in the cache folder by earlier versions is moved there once. Anything
// else found there stays and is named on stderr; so is a missing home folder.
Settings_paths Settings_file_paths();
// Starts "xdg-open URL" detached from the game; failures are ignored.
void Open_url(const std::string& url);

