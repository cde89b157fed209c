// The operating system's services: where the packs are, where the settings live, and
// opening a web page in the user's browser.
#pragma once
#include <string>

// The folder "Resources/" beside the running executable, ending in "/".
std::string Resource_directory();
// The settings file in the user's data folder; the folder is created (failures ignored), and
// a file left in the cache folder by earlier versions is moved there once.
std::string Settings_file_path();
// Starts "xdg-open URL" detached from the game; failures are ignored.
void Open_url(const std::string& url);

