// A parent's photo made into a puzzle picture: turned upright by its EXIF orientation, cut to the
// pictures' 10:7 about its centre and scaled to Picture_width x Picture_height by averaging the
// area each pixel covers, so that fine detail never shimmers into false patterns.
#pragma once
#include <vector>

#include "resources/image.h"

// The picture's RGB pixels, rows packed, top row first, from a decoded photo (RGB, rows packed)
// and its orientation (1 to 8).
std::vector<unsigned char> Upright_picture(const Tex_image& photo, int orientation);
