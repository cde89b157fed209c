// The parent's own pictures: the photos added from the command line, each stored upright,
// cropped and scaled as <data folder>/pictures/<key>.jpg, and the list of them in the order they
// were added (<data folder>/pictures/list). The data folder is the settings file's. At most
// Own_picture_limit (resources/names.h) are kept.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Own_picture {
  std::string key;         // 16 hex digits of a hash of the stored picture, also its file's name
  std::string added_from;  // the file it was added from, as a full path
  int64_t added_at = 0;    // when, in seconds since 1970
};

// The parent's pictures in the order added (the list file read again; none: empty).
std::vector<Own_picture> Own_pictures();
// The stored picture of a key: a JPEG of Picture_width x Picture_height (resources/picture_size.h);
// empty without a home folder.
std::string Own_picture_file(const std::string& key);

// The folder of the pictures and their list; empty without a home folder (said once on stderr).
std::string Own_pictures_folder();
// Writes the list whole, through a temporary file; false with the reason in `error`.
bool Save_own_pictures(const std::vector<Own_picture>& pictures, std::string& error);
// Removes picture `number` (1 for the first added), its file, and its progress from the
// half-built pictures' file; says what it did, or on stderr why it could not.
bool Remove_own_picture(int number);
