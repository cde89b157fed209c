// Adding a parent's photo (JPEG or PNG) to the own pictures: decoded within its bytes, turned
// upright, cropped and scaled (library/picture.h), stored as a JPEG named by its key through a
// temporary file, and added to the list. A refused photo leaves nothing behind.
#pragma once
#include <string>

enum Add_result { Picture_added, Picture_already_there, Picture_refused };

// Adds the photo at `path`, says so on stdout, or names the file and why it was refused in one
// line on stderr. The key of the picture (added or there already) goes to `key`.
Add_result Add_own_picture(const std::string& path, std::string& key);
